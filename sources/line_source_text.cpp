#include "sources/scenario_texts.hpp"

namespace scenario {

// clang-format off
const std::string_view kLineSourceText = std::string_view(R"TEXT(
[generale]
lunghezza percorso,    82000
progressiva chilometrica uno,    9600,    -9550,    0
progressiva chilometrica due,    40500,    63200,    1
progressiva chilometrica tre,    63200,    101300,    1
sfondo uno,    1
sfondo due,    31000
sfondo tre,    59500
ripetizione segnali 4 codici,    10550,    79900
[curve]
curvad6,  1000,  400
curvad2,  1400,  1350
curvad2,  4500,  400
curvas3,  8000,  600
curvas3,  10400,  1500
curvad1,  12000,  1500
curvad5,  16500,  300
curvad2,  19200,  300
curvas3,  19500,  800
curvas4,  29800,  600
curvas4,  35500,  400
curvad5,  36100,  500
curvas4,  39000,  500
curvas4,  41400,  300
curvas3,  43700,  700
curvad5,  48400,  400
curvas1,  54800,  1100
curvad4,  61900,  600
curvas1,  64600,  2000
curvas3,  69500,  1000
curvas1,  75600,  1500
curvad4,  77100,  500
[pendenze]
pendenza,  0,   0
pendenza,  1200,   5
pendenza,  1750,   0
pendenza,  23200,   -1
pendenza,  36400,   0
pendenza,  43950,   -5
pendenza,  50700,   1
pendenza,  51700,   2
pendenza,  52350,   3
pendenza,  61200,   4
pendenza,  62700,   2
pendenza,  63600,   4
pendenza,  69100,   6
pendenza,  78850,   0
[montagne]
montagna,   59500,  59650,  2
[cartelli]
indicatori_vmax,  800,  30,  30,  30,  0,  ,  ,  ,  0
indicatori_vmax,  1350,  90,  95,  100,  0,  ,  ,  ,  0
indicatori_vmax,  2050,  100,  105,  115,  0,  ,  ,  ,  0
indicatori_vmax,  4500,  100,  110,  115,  0,  ,  ,  ,  0
indicatori_vmax,  9950,  140,  150,  160,  0,  ,  ,  ,  0
indicatori_vmax,  20400,  140,  150,  150,  0,  ,  ,  ,  0
indicatori_vmax,  33350,  90,  95,  100,  2,  ,  ,  ,  0
indicatori_vmax,  33850,  90,  95,  100,  1,  ,  ,  ,  0
indicatori_vmax,  34350,  90,  95,  100,  0,  ,  ,  ,  0
indicatori_vmax,  40600,  140,  150,  160,  0,  ,  ,  ,  0
indicatori_vmax,  49500,  140,  150,  150,  0,  ,  ,  ,  0
indicatori_vmax,  58750,  90,  95,  100,  2,  ,  ,  ,  0
indicatori_vmax,  59250,  90,  95,  100,  1,  ,  ,  ,  0
indicatori_vmax,  59750,  90,  95,  100,  0,  ,  ,  ,  0
indicatori_vmax,  61700,  60,  60,  60,  0,  ,  ,  ,  0
indicatori_vmax,  63650,  140,  160,  160,  0,  140,  160,  160,  0
indicatori_vmax,  76100,  140,  150,  160,  0,  140,  150,  160,  0
indicatori_vmax,  77400,  80,  80,  80,  2,  80,  80,  80,  2
indicatori_vmax,  77900,  80,  80,  80,  1,  80,  80,  80,  1
indicatori_vmax,  78400,  80,  80,  80,  0,  80,  80,  80,  0
[indicazioni]
cartello_indicatore,  60950,   (Km. 2.256)
[fine]
)TEXT").substr(1);
// clang-format on

}  // namespace scenario
