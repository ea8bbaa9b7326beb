// Unit conversion factors: the one set the whole program uses. The start-up
// stores the single-precision set in the published record `units`
// (CONST_fill_constants); code that needs a factor in a constant expression,
// or before the start-up has run, reads the same values from `UNIT` here.
// Each call site keeps its own arithmetic type: the float factors for float
// work, the *_DOUBLE ones where the conversion is done in double precision.
#pragma once

// Angles in double precision, from pi written as 3.14159265358979.
constexpr double PI_DOUBLE = 3.14159265358979;
constexpr double DEG_TO_RAD_DOUBLE = 0.017453292519943278;
constexpr double RAD_TO_DEG_DOUBLE = 57.29577951308238;
constexpr double TWO_PI_DOUBLE = 6.28318530717958;
// The double factors rounded once to float (not the record's deg_to_rad and
// rad_to_deg, which are worked from the float pi and differ in the last bits).
constexpr float DEG_TO_RAD_FLOAT = static_cast<float>(DEG_TO_RAD_DOUBLE);
constexpr float RAD_TO_DEG_FLOAT = static_cast<float>(RAD_TO_DEG_DOUBLE);

// The published single-precision pi and its multiples.
constexpr float PI_FLOAT = 3.1415927f;
constexpr float TWO_PI_FLOAT = 6.2831855f;
constexpr float HALF_PI_FLOAT = 1.5707964f;

// Metres per foot, feet per metre and metres per nautical mile in double
// precision; the record's ft_to_mtrs is the first rounded once to float.
constexpr double FT_TO_M_DOUBLE = 0.3048;
constexpr double M_TO_FT_DOUBLE = 1.0 / FT_TO_M_DOUBLE;
constexpr double NM_TO_M_DOUBLE = 1852.0;

// The published unit record: g_conv, then each factor followed by its reciprocal.
struct unit_constants {
    float g_conv;
    float lbs_to_kgs, kgs_to_lbs;
    float ft_to_mtrs, mtrs_to_ft;
    float hp_to_watts, watts_to_hp;
    float degf_to_degc, degc_to_degf;
    float rad_to_deg, deg_to_rad;
    float kts_to_ftps, ftps_to_kts;
    float kts_to_mps, mps_to_kts;
    float rpm_to_radps, radps_to_rpm;
    float fpm_to_mps, mps_to_fpm;
    float nm_to_mtrs, mtrs_to_nm;
    float sqft_to_sqm, sqm_to_sqft;
    float lbf_to_n, n_to_lbf;
    float ftlbf_to_nm, nm_to_ftlbf;
    float slugft3_to_kgm3, kgm3_to_slugft3;
    float psf_to_pa, pa_to_psf;
    float lbft2_to_kgm2, kgm2_to_lbft2;
    float pa_to_inhg, inhg_to_pa;
    float mb_to_inhg, inhg_to_mb;
    float kts_to_mph, mph_to_kts;
};
static_assert(sizeof(unit_constants) == 39 * 4);

namespace unit_detail {

// 1.0 divided by the stored factor, rounded once to float.
constexpr float reciprocal(float factor) { return static_cast<float>(1.0 / factor); }

constexpr unit_constants make_units()
{
    unit_constants u{};
    u.g_conv = 9.7982788f;   // the simulator's own value, not the standard 9.80665
    u.lbs_to_kgs = 0.45359251f;
    u.kgs_to_lbs = reciprocal(u.lbs_to_kgs);
    u.ft_to_mtrs = static_cast<float>(FT_TO_M_DOUBLE);
    u.mtrs_to_ft = reciprocal(u.ft_to_mtrs);
    u.hp_to_watts = 745.7f;
    u.watts_to_hp = reciprocal(u.hp_to_watts);
    u.degf_to_degc = 5.0f / 9.0f;
    u.degc_to_degf = reciprocal(u.degf_to_degc);
    u.rad_to_deg = 180.0f / PI_FLOAT;
    u.deg_to_rad = reciprocal(u.rad_to_deg);
    u.kts_to_ftps = 1.6878098f;
    u.ftps_to_kts = reciprocal(u.kts_to_ftps);
    u.kts_to_mps = u.kts_to_ftps * u.ft_to_mtrs;
    u.mps_to_kts = reciprocal(u.kts_to_mps);
    u.rpm_to_radps = u.deg_to_rad * 6.0f;
    u.radps_to_rpm = reciprocal(u.rpm_to_radps);
    u.fpm_to_mps = u.ft_to_mtrs / 60.0f;
    u.mps_to_fpm = reciprocal(u.fpm_to_mps);
    // Feet per nautical mile is a double literal: the product rounds once, to exactly 1852.
    u.nm_to_mtrs = static_cast<float>(u.ft_to_mtrs * 6076.1155);
    u.mtrs_to_nm = reciprocal(u.nm_to_mtrs);
    u.sqft_to_sqm = u.ft_to_mtrs * u.ft_to_mtrs;
    u.sqm_to_sqft = reciprocal(u.sqft_to_sqm);
    u.lbf_to_n = u.lbs_to_kgs * u.g_conv;
    u.n_to_lbf = reciprocal(u.lbf_to_n);
    u.ftlbf_to_nm = u.lbf_to_n * u.ft_to_mtrs;
    u.nm_to_ftlbf = reciprocal(u.ftlbf_to_nm);
    const float ft4 = u.ft_to_mtrs * u.ft_to_mtrs * u.ft_to_mtrs * u.ft_to_mtrs;
    u.slugft3_to_kgm3 = u.g_conv * u.lbs_to_kgs / ft4;
    u.kgm3_to_slugft3 = reciprocal(u.slugft3_to_kgm3);
    u.psf_to_pa = u.lbf_to_n / u.sqft_to_sqm;
    u.pa_to_psf = reciprocal(u.psf_to_pa);
    u.lbft2_to_kgm2 = u.sqft_to_sqm * u.lbs_to_kgs;
    u.kgm2_to_lbft2 = reciprocal(u.lbft2_to_kgm2);
    u.pa_to_inhg = 0.00029528743f;
    u.inhg_to_pa = reciprocal(u.pa_to_inhg);
    u.mb_to_inhg = 0.029528745f;
    u.inhg_to_mb = reciprocal(u.mb_to_inhg);
    u.kts_to_mph = 1.1507795f;
    u.mph_to_kts = reciprocal(u.kts_to_mph);
    return u;
}

}  // namespace unit_detail

// The unit factors as the start-up stores them in `units`.
constexpr unit_constants UNIT = unit_detail::make_units();

// Statute miles to nautical miles (weather reports give visibility in statute miles).
constexpr float UNIT_SM_TO_NM = 0.86897624f;
// Metres per second and kilometres per hour to knots straight from the
// nautical mile (3,600 / 1,852 is a hair above the record's mps_to_kts, which
// goes through feet); weather reports give winds in these units.
constexpr float UNIT_MPS_TO_KTS_BY_NM = 3600.0f / UNIT.nm_to_mtrs;
constexpr float UNIT_KMH_TO_KTS = 1000.0f / UNIT.nm_to_mtrs;

// Metres per degree of latitude: sixty nautical miles, 111,120 m.
constexpr float UNIT_MTRS_PER_DEG_LAT = 60.0f * UNIT.nm_to_mtrs;
// Kilograms per short ton of 2,000 pounds.
constexpr float UNIT_KGS_PER_SHORT_TON = 2000.0f * UNIT.lbs_to_kgs;
// The glide-slope needle's scale: dots of deflection per degree off the slope.
constexpr float UNIT_GS_DOTS_PER_DEG = 7.0f;

// The shorter forms two formulas are written with; they differ from the
// record's factors in the last digits, so those formulas keep them.
constexpr float UNIT_PA_TO_INHG_SHORT = 0.00029529f;   // the altimeter's 1,000 ft per inch of mercury
constexpr float UNIT_KTS_TO_MPS_SHORT = 0.514444f;     // the start values of the simulation defaults
