#include "sources/scenario_texts.hpp"

namespace scenario {

// clang-format off
const std::string_view kTrainCardText = std::string_view(R"TEXT(

 
  ___________________                                                ______________
 |                   |                  SCHEDA                      |              |
 |   TRENO n.   5    |                da: MILANO C.le               |    V160 B    |
 |___________________|                 a: TORTONA                   |     125%     |
                                                                    |______________|
  ___________________                ___________________ 
 |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       
 |  INTERREGIONALE   |              |      600T         |
 |___________________|              |___________________|  

  ________________________________________________________________________________
 | Vel.| Vel.| Progr Km | No  |  Localita' di Servizio     |    Orario      | Rec |
 | Lim.|Marc.|          | Rs  |                            |                |     |
 |_____|_____|__________|_____|____________________________|________________|_____|
 |  30 |  30 |    0.000 |  30 | MILANO C.LE                |          18.15 |     |
 |  95 |  95 |    1.200 |  95 | Deviatoio di uscita        |      18.17     |     |
 | 105 |     |    2.000 | 105 | Cippo chilometro 2.000     |      18.18     |     |
 |     | 105 |    3.810 |     | MI.LAMBRATE                |      18.20     |     |
 | 110 |     |    4.500 | 110 | Cippo chilometro 4.500     |      18.21     |     |
 |     |     |    9.560 |     | MI.ROGOREDO                |      18.23     |     |
 | 150 | 140 |    0.400 | 140 | Deviatoio di uscita        |      18.24     |     |
 |     |     |    8.200 |     | LOCATE TRIULZI             |      18.27     |     |
 |     |     |   12.105 |     | Seg. prot. Villamaggiore   |      18.29     |     | 
 |     |     |   13.200 |     | VILLAMAGGIORE              |      18.30     | 1   |
 |     |     |   20.860 |     | CERTOSA DI PAVIA           |      18.34     | 1   |
 |  95 |  90 |   26.000 |  95 | Cippo chilometro 26.000    |      18.37     |     |
 |     |     |   28.600 |     | PAVIA                      | 18.40    18.42 | 1.5 |
 | 150 | 140 |   30.970 | 140 | Bivio Gravellone           |      18.45     |     |
 |     |     |   19.240 |     | CAVA MANARA                |      18.47     | 0.5 |
 |     |     |   12.580 |     | BRESSANA BOTTARONE         |      18.50     |     |
 |     |     |    7.370 |     | LUNGAVILLA                 |      18.52     |     | 
 |  95 |  90 |    2.256 |  95 | Cippo chilometro 2.256     |      18.55     |     |
 |  65 |  60 |   38.110 |  65 | VOGHERA                    | 18.57    18.58 |     | 
 | 160 | 140 |   37.670 | 140 | Deviatoio di uscita        |      18.59     |     |
 |     |     |   30.660 |     | PONTECURONE                |      19.03     |     |
 | 150 | 110 |   24.000 | 140 | Cippo chilometro 24.000    |      19.07     |     |
 |     |     |   21.910 |     | TORTONA                    | 19.09          | 2   |
 |_____|_____|__________|_____|____________________________|________________|_____|
)TEXT").substr(1);
// clang-format on

}  // namespace scenario
