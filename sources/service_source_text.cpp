#include "sources/scenario_texts.hpp"

namespace scenario {

// clang-format off
const std::string_view kServiceSourceText = std::string_view(R"TEXT(
[generale]
numero vetture,    12
percentuale massa frenata,    125
sabbia,    300
orologio,    18              14            15 
[aderenze]
aderenza,   0,    100
aderenza,   33600,    95
aderenza,   36950,   100
aderenza,   47950,    90
aderenza,   52600,   100
aderenza,   67300,    95
aderenza,   69300,    80
aderenza,   69800,    97
aderenza,   76550,   100
[vel_limite]
velocita,   0,    30
velocita,    1350,    95
velocita,    2000,   105
velocita,    4500,   110
velocita,    9950,   150
velocita,   35550,    95
velocita,   40500,   150
velocita,   60950,    95
velocita,   62700,    60
velocita,   63650,   160
velocita,   77300,   150
velocita,   79400,    80
[stazioni]
stazione,       0,  8,  800,  1, 1, 0,  4,1,0,  2,1,1,    1,  18,15, 0, MILANO CENTRALE
stazione,    1300, 25,  300,  0, 0, 0,  0,0,0,  0,0,0,    1,   0, 0, 0, MILANO C.LE
stazione,    3800,  2,  700,  0, 1, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, MILANO LAMBRATE
stazione,    9550, 12,  600,  0, 1, 0,  1,1,0,  4,1,1,  130,   0, 0, 0, ROGOREDO
stazione,   17750, 22,  500,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, LOCATE TRIULZI
stazione,   22750, 22,  500,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, VILLAMAGGIORE
stazione,   30500, 22,  600,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, CERTOSA DI PAVIA
stazione,   38150,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,   60,  18,42, 0, PAVIA
stazione,   40450, 11,  200,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, BIVIO GRAVELLONE
stazione,   43750, 22,  600,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, CAVA MANARA
stazione,   50400, 12,  600,  0, 1, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, BRESSANA BOTTARONE
stazione,   55600, 22,  600,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, LUNGAVILLA
stazione,   63200,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,   60,  18,58, 0, VOGHERA
stazione,   70650, 22,  500,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, PONTECURONE
stazione,   79400,  4,  700,  0, 1, 0,  1,1,0,  2,1,1,    0,  19, 9, 0, TORTONA
[rallentamenti]
rallentamento,   52600,    80,  250, 0,  1,  80
[segnali]
segnale,    1750,   2, 4, 1,  1, 0,    0,  0,0,0, 0
segnale,    2850,   2, 4, 1,  1, 0,    2,  2,1,1, 0
segnale,    5750,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,    6650,   2, 4, 1,  0, 0,    2,  1,1,0, 0
segnale,    7700,   2, 3, 1,  1, 0,    2,  1,1,1, 0
segnale,    8600,   2, 3, 1,  1, 0,    2,  2,1,1, 240
segnale,   11350,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   13050,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   14550,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   16100,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   17200,   2, 4, 0,  0, 0,    2,  2,0,0, 0
segnale,   20300,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   21600,   2, 4, 0,  0, 0,    2,  2,0,0, 0
segnale,   25300,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   26800,   2, 3, 0,  0, 0,    0,  0,0,0, 0
segnale,   28200,   2, 4, 0,  0, 0,    0,  0,0,0, 120
segnale,   29200,   2, 4, 0,  0, 0,    2,  2,0,0, 0
segnale,   32950,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   34750,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   36000,   2, 4, 1,  0, 0,    0,  0,0,0, 0
segnale,   37250,   2, 3, 1,  1, 0,    2,  2,1,1, 0
segnale,   41400,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   42750,   2, 4, 0,  0, 0,    2,  2,0,0, 0
segnale,   45500,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   47300,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   49300,   2, 4, 1,  0, 0,    2,  2,1,0, 0
segnale,   52100,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   53500,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   54650,   2, 4, 0,  0, 0,    2,  2,0,0, 0
segnale,   57250,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   59200,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   60550,   2, 4, 1,  0, 0,    0,  0,0,0, 0
segnale,   61950,   2, 3, 1,  1, 0,    2,  2,1,1, 0
segnale,   66250,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   68000,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   69500,   2, 4, 0,  0, 0,    2,  2,0,0, 0
segnale,   72350,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   73900,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   75400,   2, 4, 0,  0, 0,    0,  0,0,0, 0
segnale,   76750,   2, 4, 1,  0, 0,    2,  1,1,0, 0
segnale,   78150,   2, 3, 1,  1, 0,    2,  2,1,1, 0
[codici]
abbattimento,   10550,   270
abbattimento,   10600,   270
abbattimento,   10650,   270
abbattimento,   10700,   270
abbattimento,   10750,   270
abbattimento,   10800,   270
abbattimento,   10850,   270
[fine]
)TEXT").substr(1);
// clang-format on

}  // namespace scenario
