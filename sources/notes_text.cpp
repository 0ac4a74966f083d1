#include "sources/scenario_texts.hpp"

namespace scenario {

// clang-format off
const std::string_view kNotesText = std::string_view(R"TEXT(
Treno impostato in rango B - la locomotiva è un E444.
Il treno, in realtà, non termina a Tortona ma a Genova Brignole. Coloro che volessero proseguire possono aprire lo scenario Tortona_Genova_5bis.
In linea vi sono alcuni segnali chiusi e un rallentamento.
Alcune stazioni non si trovano su tratto pianeggiante, per cui, se si effettua fermata, bisogna evitare il movimento del treno.
La ripetizione segnali, come nella realtà, si attiva solo dopo la stazione di Rogoredo: in uscita da Milano prestare attenzione ai segnali, soprattutto entrando a Rogoredo.
Ci sono tre variazioni della progressiva chilometrica.

Progetto scenario-builder - Esempiopoli
(contatti@scenario-builder.example)
)TEXT").substr(1);
// clang-format on

}  // namespace scenario
