// Stand-in of the instrument picture table until the cockpit instruments are
// built: the pictures of the instrument types the project's own aircraft use,
// and "no longer used" for the retired types; every other entry is empty.
#include "panel/instrument_pictures.h"

namespace {

struct picture {
    int type;
    const char* path;
};

constexpr picture pictures[] = {
    {0, "cockpit:supplement:tailnum.bmp"},
    {1, "cockpit:buttons:but_land_light.bmp"},
    {5, "cockpit:buttons:but_autobrake.bmp"},
    {6, "cockpit:buttons:but_autofeather.bmp"},
    {29, "cockpit:buttons:but_battery.bmp"},
    {30, "cockpit:buttons:but_avionics.bmp"},
    {31, "cockpit:buttons:but_generator.bmp"},
    {32, "cockpit:buttons:but_inverter.bmp"},
    {33, "cockpit:buttons:but_fuelpump.bmp"},
    {47, "cockpit:handles:han_slider_thro_vernier.bmp"},
    {48, "cockpit:handles:han_slider_thro_linear.bmp"},
    {49, "cockpit:handles:han_slider_prop_vernier.bmp"},
    {50, "cockpit:handles:han_slider_prop_lin.bmp"},
    {51, "cockpit:handles:han_slider_mix_vernier.bmp"},
    {52, "cockpit:handles:han_slider_mixture_lin.bmp"},
    {56, "cockpit:handles:han_sbrake1.bmp"},
    {60, "cockpit:handles:han_slider_collective.bmp"},
    {74, "cockpit:standard:asi_preset_GA_200.bmp"},
    {75, "cockpit:standard:asi_preset_GA_300.bmp"},
    {78, "cockpit:standard:asi_preset_HM_nodig.bmp"},
    {90, "cockpit:standard:Arthorizon_GA_vacuum.bmp"},
    {93, "cockpit:standard:HorizGlass_HM.bmp"},
    {94, "cockpit:standard:altimeter_GA.bmp"},
    {96, "cockpit:standard:altimeter_HM.bmp"},
    {106, "cockpit:standard:compass_GA.bmp"},
    {108, "cockpit:standard:compass_HM.bmp"},
    {109, "cockpit:standard:Directional_Gyro_GA.bmp"},
    {110, "cockpit:standard:HSI1_GA.bmp"},
    {112, "cockpit:standard:HSI1_HM.bmp"},
    {122, "cockpit:standard:VVI_2000_GA.bmp"},
    {123, "cockpit:standard:VVI_3000_GA.bmp"},
    {127, "cockpit:standard:VVI_2000_HM.bmp"},
    {248, "no longer used"},
    {249, "no longer used"},
    {250, "no longer used"},
    {274, "no longer used"},
    {337, "cockpit:standard:totalenergy_inc.bmp"},
};

}  // namespace

const char* PANEL_instrument_picture(int type)
{
    for (const picture& p : pictures)
        if (p.type == type) return p.path;
    return "";
}
