#include "sources/scenario_texts.hpp"

namespace scenario {

// clang-format off
const std::string_view kSlowdownOrderText = std::string_view(R"TEXT(

                               Modulo M. 3
                           ORDINE DI RALLENTAMENTO
 ________________________________________________________________________________
  Linea  Firenze Pisa

  Si ordina al macchinista del treno  5  di effettuare i seguenti rallentamenti
  _______________________________________________________________________________
 |   |                            |Inizio dopo |          |         |            |
 | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|
 |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |
 |___|____________________________|____________|__________|_________|____________|
 | 1 |  Bressana B. - Lungavilla  |     11     |    80    |   250   |   ---      |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |   |                            |            |          |         |            |
 |___|____________________________|____________|__________|_________|____________|

              Prescrizioni specifiche
 A - Da rispettare con tutto il treno (per i treni viaggiatori)
 B - Interessa anche la stazione di.......
 D - Rallentamneto N. ... e N. ...  sono contigui
 C - Da rispettare dalle ore ....  alle ore ..... di tutti
     i giorni esclusi i seguenti:.........
)TEXT").substr(1);
// clang-format on

}  // namespace scenario
