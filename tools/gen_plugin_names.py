#!/usr/bin/env python3
"""Writes the published data names as table rows for links/plugin_data.cpp:

    tools/gen_plugin_names.py . > links/plugin_data_blocks.inc

(the argument is the source tree). Each name is "sim/<area>/<group>/<field>"
and points at the field of that name: the aircraft record of the user's plane
(pln[0]), the flight-model record (flt[0]), airfoil block 0 of the aircraft
record, or the global blocks of core/simvars.h. The groups below say which
fields each group publishes; their sizes and the totals of each type are fixed
(the plug-ins and the manager count on them) and checked here before anything
is written. A name whose value the program does not hold stands for a word of
its own that nothing else reads (SIM_ZERO_INT, SIM_ZERO_FLOAT); those are listed
on stderr."""
import glob
import re
import sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else "."

GROUP_SIZES = {
    "aircraft/view": 55, "aircraft/controls": 36, "aircraft/engine": 26, "aircraft/prop": 21, "aircraft/parts": 69,
    "aircraft/gear": 18, "aircraft/weight": 11, "aircraft/panel": 6, "aircraft/artstability": 16,
    "aircraft/specialcontrols": 31, "aircraft/vtolcontrols": 15, "aircraft/forcefeedback": 2, "aircraft/bodies": 1,
    "aircraft/overflow": 98, "aircraft": 1,
    "airfoils": 31,
    "cockpit/radios": 82, "cockpit/switches": 43, "cockpit/warnings": 21, "cockpit/electrical": 16,
    "cockpit/autopilot": 15, "cockpit/engine": 12, "cockpit/misc": 8, "cockpit/gps": 7, "cockpit/pressure": 7,
    "cockpit/weapons": 7,
    "flightmodel/position": 41, "flightmodel/engine": 39, "flightmodel/controls": 31, "flightmodel/misc": 26,
    "flightmodel/parts": 26, "flightmodel/forces": 22, "flightmodel/failures": 14, "flightmodel/cyclic": 9,
    "flightmodel/movingparts": 9, "flightmodel/weight": 6, "flightmodel/jetwash": 2,
    "graphics/view": 31, "graphics/settings": 14, "graphics/colors": 12, "graphics/scenery": 10, "graphics/misc": 5,
    "joystick": 32, "multiplayer/position": 144, "network/dataout": 9, "network/misc": 2,
    "operation/failures": 6, "operation/misc": 3, "operation/override": 18, "operation/prefs": 18,
    "operation/sound": 4, "operation/windows": 1,
    "physics": 13, "private/camera": 6, "private/net_disables": 19, "time": 10, "weather": 53,
}
# Entries of each run (the computed values come after them, apart).
# The pre-rotation level is an integer word (the data groups send it as one),
# so it is published in the integer run: published as a float, a plug-in would
# read its bits as a float (1.4e-45 for the high level). That puts one name
# more in the integer run and one fewer in the float run than 317 and 687.
TYPE_TOTALS = {"INT": 318, "FLOAT": 686, "FLOAT_ARRAY": 220, "INT_ARRAY": 49, "BYTES": 9}
# The computed values (links/plugin_data.cpp) count in their groups.
COMPUTED = {"cockpit/autopilot": 2, "cockpit/radios": 4, "weather": 2}


def strip_comments(text):
    return re.sub(r"//[^\n]*", "", text)


def fields_of(body):
    """(ctype, name, has_dims) of every int32_t, float and char field of a struct body."""
    out = []
    for m in re.finditer(r"\b(int32_t|float|char|double|uint8_t|void\*)\s+([^;{}()]+);", strip_comments(body)):
        ctype = m.group(1)
        for d in m.group(2).split(","):
            d = d.split("=")[0].strip()
            am = re.match(r"(\w+)((?:\[[^\]]+\])*)$", d)
            if am and ctype in ("int32_t", "float", "char"):
                out.append((ctype, am.group(1), am.group(2) != ""))
    return out


def struct_body(text, name):
    m = re.search(r"struct %s \{(.*?)\n\};" % name, text, re.S)
    return m.group(1)


def kind_of(ctype, dims):
    if ctype == "char":
        return "BYTES"
    if ctype == "float":
        return "FLOAT_ARRAY" if dims else "FLOAT"
    return "INT_ARRAY" if dims else "INT"


# The blocks are declared by area in core/simvars/, which core/simvars.h includes.
simvars = "".join(open(f).read() for f in [ROOT + "/core/simvars.h"] + sorted(glob.glob(ROOT + "/core/simvars/*.h")))
BLOCKS = {}   # "cockpit/radios" -> {field: (kind, ref)}
for m in re.finditer(r"struct (sim_\w+)_block \{(.*?)\n\};", simvars, re.S):
    block, body = m.group(1), m.group(2)
    BLOCKS[block] = {n: (kind_of(c, d), "%s.%s" % (block, n)) for c, n, d in fields_of(body)}
ACF = {n: (kind_of(c, d), "pln[0].%s" % n)
       for c, n, d in fields_of(struct_body(open(ROOT + "/aircraft/acf_struct.h").read(), "acf_struct"))}
FLT = {n: (kind_of(c, d), "flt[0].%s" % n)
       for c, n, d in fields_of(struct_body(open(ROOT + "/flightmodel/flt.h").read(), "flt_struct"))}
AFL = {n: (kind_of(c, d), "pln[0].afl[0].%s" % n)
       for c, n, d in fields_of(struct_body(open(ROOT + "/aircraft/airfoil_block.h").read(), "afl_block"))}

rows = []       # (group, name, kind, macro text)
zeros = []
taken = set()   # "pln[0].acf_x" references already published


def add(group, field, kind, ref, count=None):
    name = "sim/%s/%s" % (group, field) if group != "aircraft" or field == "acf_struct" else "sim/aircraft/" + field
    if kind in ("FLOAT_ARRAY", "INT_ARRAY") and count is not None:
        text = 'SIM_ARRAY_N("%s", %s, %d),' % (name, ref, count)
    elif kind == "BYTES" and count is not None:
        text = 'SIM_BYTES_N("%s", %s, %d),' % (name, ref, count)
    else:
        macro = {"INT": "SIM_INT", "FLOAT": "SIM_FLOAT", "FLOAT_ARRAY": "SIM_ARRAY", "INT_ARRAY": "SIM_ARRAY",
                 "BYTES": "SIM_BYTES"}[kind]
        text = '%s("%s", %s),' % (macro, name, ref)
    rows.append((group, name, kind, text))
    taken.add(ref)


def zero(group, field, kind, count=1):
    name = "sim/%s/%s" % (group, field)
    if kind in ("INT", "FLOAT"):
        text = '%s("%s"),' % ("SIM_ZERO_INT" if kind == "INT" else "SIM_ZERO_FLOAT", name)
    else:
        raise ValueError("no word of its own for the run " + name)
    rows.append((group, name, kind, text))
    zeros.append(name)


def pub(group, source, names):
    """Publishes the named fields of a record under the group, in the order given."""
    for n in names.split():
        n, _, count = n.partition("#")   # name#count: only the first count words are published
        pubname, _, field = n.partition("=")
        field = field or pubname
        kind, ref = source[field]
        if count:
            add(group, pubname, kind, ref + "[0]", int(count))
        else:
            add(group, pubname, kind, ref)


def block(group, block_name, skip="", counts=None):
    """counts: {field: n} for fields of which only the first n words are published."""
    counts = counts or {}
    for field, (kind, ref) in BLOCKS[block_name].items():
        if field in counts:
            add(group, field, kind, ref + "[0]", counts[field])
        elif field not in skip.split():
            add(group, field, kind, ref)


def element(group, pubname, ref, kind):
    add(group, pubname, kind, ref)


# ---- sim/physics, sim/time, sim/private --------------------------------------
block("physics", "sim_physics", "ambient_pressure")
for c in ("pi", "double_pi", "half_pi", "R", "speed_light_m_sec"):
    add("physics", c, "FLOAT", c)
block("time", "sim_time")
# The camera-control words are the scene's own; no name stands for them.
block("private/camera", "sim_private_camera", "control_words")
for axis in "xyz":
    add("private/camera", axis, "FLOAT", "sim_graphics_view.view_" + axis)
block("private/net_disables", "sim_private_net_disables")
# A display copy leaves these parts to its master; the program has no switch for them.
for n in ("flight_model", "weather", "time", "failures", "radios", "autopilot", "atc", "traffic", "weapons",
          "ground", "sounds", "views", "panel", "joystick", "replay"):
    zero("private/net_disables", n, "INT")

# ---- sim/weather: the layer arrays one element per name --------------------
W = BLOCKS["sim_weather"]
for field, (kind, ref) in W.items():
    # The precipitation split and the weather screen's request word carry no name.
    if field in ("precip_rain", "precip_hail", "precip_snow", "real_weather_request"):
        continue
    if field == "speed_of_sound_ms":
        # Published under the gravity name: plug-ins read it there.
        add("weather", "gravity_mss", kind, ref)
    elif kind.endswith("ARRAY"):
        n = 2 if field.startswith("cloud_") else 3
        for i in range(n):
            add("weather", "%s[%d]" % (field, i), kind.replace("_ARRAY", ""), "%s[%d]" % (ref, i))
    else:
        add("weather", field, kind, ref)
# And the gravity under the speed-of-sound name.
add("weather", "speed_sound_ms", "FLOAT", "sim_physics.g_sealevel")

# ---- sim/graphics ------------------------------------------------------------
block("graphics/view", "sim_graphics_view",
      "view_heading_sin view_heading_cos view_pitch_sin view_pitch_cos view_roll_sin view_roll_cos")
add("graphics/view", "window_width", "INT", "screen.window_width")
add("graphics/view", "window_height", "INT", "screen.window_height")
add("graphics/view", "visibility_scale", "FLOAT", "visibility_scale")
block("graphics/settings", "sim_graphics_settings")
add("graphics/settings", "rendering_res", "INT", "screen.rendering_res")
for row, n in ((36, "background_rgb"), (37, "menu_dark_rgb"), (38, "menu_hilite_rgb"), (39, "menu_lite_rgb"),
               (40, "menu_text_rgb"), (41, "menu_text_disabled_rgb"), (42, "subtitle_text_rgb"),
               (43, "tab_front_rgb"), (44, "tab_back_rgb"), (45, "caption_text_rgb"), (46, "list_text_rgb"),
               (48, "glass_text_rgb")):
    add("graphics/colors", n, "FLOAT_ARRAY", "colour_table[%d]" % row)
block("graphics/scenery", "sim_graphics_scenery")
add("graphics/scenery", "water_level_m", "FLOAT", "water_level_m")
add("graphics/scenery", "terrain_height_m", "FLOAT", "terrain_height_m")
add("graphics/scenery", "ground_type", "INT", "ground_type_word")
add("graphics/scenery", "weather_seed", "INT", "weather_seed")
block("graphics/misc", "sim_graphics_misc")

# ---- sim/joystick, sim/network, sim/operation --------------------------------
block("joystick", "sim_joystick", counts={"joystick_button_assignments": 64, "joystick_button_values": 64})
pub("joystick", FLT, "FC_ptch FC_roll FC_hdng")
for field, (kind, ref) in BLOCKS["sim_joystick_pfc"].items():
    add("joystick", "pfc/" + field, kind, ref)
block("network/dataout", "sim_network_dataout")
block("network/misc", "sim_network_misc")
add("network/misc", "frame_clock_sec", "FLOAT", "frame_clock")
block("operation/failures", "sim_operation_failures")
pub("operation/failures", FLT, "failures#137 comp_fail_stat failure_param")
block("operation/misc", "sim_operation_misc")
block("operation/override", "sim_operation_override")
block("operation/prefs", "sim_operation_prefs")
for field, (kind, ref) in BLOCKS["sim_operation_prefs_misc"].items():
    add("operation/prefs", "misc/" + field, kind, ref)
for field, (kind, ref) in BLOCKS["sim_operation_prefs_realweather"].items():
    add("operation/prefs", "realweather/" + field, kind, ref)
add("operation/prefs", "log_frame_timing", "INT", "log_frame_timing")
block("operation/sound", "sim_operation_sound")
# The window is a 64-bit handle: no 32-bit word holds it.
zero("operation/windows", "system_window", "INT")

# ---- sim/cockpit -------------------------------------------------------------
# The two navigation mode words and the pitch target carry no name.
block("cockpit/autopilot", "sim_cockpit_autopilot", "hnav_mode vnav_mode pitch_hold_deg")
block("cockpit/electrical", "sim_cockpit_electrical")
pub("cockpit/electrical", FLT, "nav_lights_on beacon_lights_on strobe_lights_on landing_lights_on taxi_light_on "
    "strobe_flash beacon_brightness")
add("cockpit/electrical", "gyro_power", "FLOAT_ARRAY", "gyro_power")
add("cockpit/electrical", "volt_display_timeout", "FLOAT_ARRAY", "volt_display_timeout")
block("cockpit/engine", "sim_cockpit_engine", "chute_dir")
pub("cockpit/engine", FLT, "ignition_on")
# The EFIS display switches and DME selectors come after the block's own
# words, in the published order; the weather switch's published name keeps
# its spelling. The RMI selectors carry no name here.
EFIS_SWITCHES = ("EFIS_dme_1_selector", "EFIS_dme_2_selector", "EFIFS_shows_weather=EFIS_shows_weather",
                 "EFIS_shows_tcas", "EFIS_shows_airports", "EFIS_shows_waypoints", "EFIS_shows_VORs",
                 "EFIS_shows_NDBs")
block("cockpit/switches", "sim_cockpit_switches",
      " ".join(n.partition("=")[2] or n for n in EFIS_SWITCHES) + " RMI_l_vor_adf_selector RMI_r_vor_adf_selector")
pub("cockpit/switches", BLOCKS["sim_cockpit_switches"], " ".join(EFIS_SWITCHES))
# No variable of the program holds these two layer switches.
for n in ("EFIS_shows_terrain", "EFIS_shows_data"):
    zero("cockpit/switches", n, "INT")
# The jettison (water drop) button.
pub("cockpit/switches", FLT, "water_drop_on")
block("cockpit/warnings", "sim_cockpit_warnings")
for field, (kind, ref) in BLOCKS["sim_cockpit_warnings_annunciators"].items():
    add("cockpit/warnings", "annunciators/" + field, kind, ref)
block("cockpit/gps", "sim_cockpit_gps")
block("cockpit/misc", "sim_cockpit_misc", "lever_gang_x ah_bar")
add("cockpit/misc", "has_radar", "INT", "pln[0].acf_has_radar")
pub("cockpit/misc", FLT, "vacuum")
block("cockpit/pressure", "sim_cockpit_pressure")
block("cockpit/weapons", "sim_cockpit_weapons", "selected_weapon_slot")
R = BLOCKS["sim_cockpit_radios"]
for field, (kind, ref) in R.items():
    if field.startswith("com_spare"):
        continue
    add("cockpit/radios", field, kind, ref)
    # Each receiver family is a run of six words: NAV1, NAV2, ADF1, ADF2, GPS, DME.
    # The cards are published as their whole run (the ADF cards below).
    if field.startswith("nav1_") and kind.endswith("ARRAY") and field != "nav1_cardinal_dir":
        rest = field[5:]
        k = kind.replace("_ARRAY", "")
        add("cockpit/radios", "nav2_" + rest, k, ref + "[1]")
        if rest in ("dir_degt", "dme_dist_m", "dme_speed_kts", "dme_time_secs", "has_dme", "fromto"):
            add("cockpit/radios", "adf1_" + rest, k, ref + "[2]")
            add("cockpit/radios", "adf2_" + rest, k, ref + "[3]")
        if rest in ("dme_dist_m", "dme_speed_kts", "dme_time_secs", "has_dme"):
            add("cockpit/radios", "dme_" + rest, k, ref + "[5]")
# The ADF cards the rheostats turn and the ADF dials show are the program's
# ADF course words.
add("cockpit/radios", "adf1_cardinal_dir", "FLOAT", "sim_cockpit_radios.adf1_obs_card_mag")
add("cockpit/radios", "adf2_cardinal_dir", "FLOAT", "sim_cockpit_radios.adf2_obs_card_mag")

# ---- sim/flightmodel ---------------------------------------------------------
pub("flightmodel/position", FLT, "local_x local_y local_z theta phi psi latitude longitude indicated_airspeed vh_ind "
    "L M N P Q R P_dot Q_dot R_dot Prad Qrad Rrad q alpha beta elevation groundspeed hpath vpath local_vx local_vy "
    "local_vz local_ax local_ay local_az magpsi true_airspeed y_agl")
add("flightmodel/position", "magnetic_variation", "FLOAT", "sim_flightmodel_position.magnetic_variation")
add("flightmodel/position", "lat_ref", "FLOAT", "lat_ref")
add("flightmodel/position", "lon_ref", "FLOAT", "lon_ref")
pub("flightmodel/engine", FLT, "ENGN_thro ENGN_thro_use ENGN_prop ENGN_mixt ENGN_heat ENGN_cowl ENGN_running "
    "ENGN_burning ENGN_burnrat ENGN_propmode ENGN_N1_ ENGN_MPR ENGN_EPR ENGN_TRQ ENGN_FF_ ENGN_EGT ENGN_ITT "
    "ENGN_oil_quan ENGN_oil_press ENGN_oil_temp ENGN_gen_amp ENGN_bat_amp ENGN_bat_volt ENGN_mixt_pow_rat ENGN_sigma "
    "ENGN_crbice ENGN_oil_lube_rat ENGN_power ENGN_tacrad ENGN_omegadot POINT_rock_TRQ POINT_drag_TRQ POINT_omegadot "
    "POINT_tacrad POINT_thrust POINT_prop_eff POINT_pitch_deg POINT_cone_rad POINT_side_wash")
pub("flightmodel/controls", FLT, "flaprat flaprqst sbrkrat sbrkrqst slatrat slatrqst swdi swdirqst vectrqst "
    "ail_trim elv_trim rud_trim rot_trim ail1_def lail1def rail1def ail2_def lail2def rail2def splr_def lsplrdef "
    "rsplrdef yawb_def ldruddef rdruddef rudd_def parkbrake l_brake_add r_brake_add nosewheel_steer dist")
pub("flightmodel/misc", FLT, "i j Qstatic cgz_ref_to_default displace_rat ett_size h_ind jato_left machno "
    "prop_ospeed_test_timeout slip turnrate_roll turnrate_noroll jett_len rocket_mode rocket_timeout "
    "blown_flap_engage_rat lift_fan_total_power Q_centroid_MULT#228 nosewheel_speed wing_tilt_ptch wing_tilt_roll "
    "ai_app_mode")
add("flightmodel/misc", "auto_flight_on", "INT", "auto_flight_on")
block("flightmodel/misc", "sim_flightmodel_misc")
pub("flightmodel/parts", FLT, "v_el alpha_el downwash_deg propwash_rat del_dir CL_grndeffect CD_grndeffect "
    "Q_centroid_loc stalled nrml_force axil_force force_XYZ tire_locked tire_drag_dis tire_speed_term tire_speed_now "
    "tire_prop_rot elev_cont_def flap_def foil_inc foil_dih elem_inc foil_sin_dih foil_cos_dih foil_sin_swe "
    "foil_cos_swe")
pub("flightmodel/forces", FLT, "faxil_prop fside_prop fnrml_prop faxil_aero fside_aero fnrml_aero faxil_gear "
    "fside_gear fnrml_gear g_nrml g_axil g_side g_total vx_acf_axis vy_acf_axis vz_acf_axis vx_air_on_acf "
    "vy_air_on_acf vz_air_on_acf Q_rotor_rad R_rotor_rad")
add("flightmodel/forces", "control_authority", "FLOAT", "control_authority")
pub("flightmodel/failures", FLT, "pitot_ice prop_ice inlet_ice window_ice frm_ice over_g over_vne over_vfe over_vle "
    "onground_any onground_all stallwarning lo_rotor_warning smoking")
pub("flightmodel/cyclic", FLT, "cyclic_elev_command cyclic_ailn_command cyclic_elev_blad_alph cyclic_ailn_blad_alph "
    "cyclic_elev_disc_tilt cyclic_ailn_disc_tilt sidecant vertcant disc_ang")
pub("flightmodel/weight", FLT, "m_fixed m_fuel1 m_fuel2 m_fuel3 m_jettison m_total")
pub("flightmodel/jetwash", FLT, "DVinc ringDVinc")
# Named entries of the aircraft record's sweep and gear arrays.
for n, c in (("tvect", "ACF_SWEEPNOW_TVECT"), ("wing_sweep1", "ACF_SWEEPNOW_WING_SWEEP1"),
             ("wing_sweep2", "ACF_SWEEPNOW_WING_SWEEP2"), ("wing_sweep3", "ACF_SWEEPNOW_WING_SWEEP3")):
    add("flightmodel/movingparts", n, "FLOAT", "pln[0].acf_sweepnow[%s]" % c)
for g in range(1, 6):
    add("flightmodel/movingparts", "gear%ddef" % g, "FLOAT", "pln[0].acf_gear_def[ACF_GEAR_DEF_GEAR1 + %d]" % (g - 1))

# ---- sim/multiplayer: planes 1 to 9 -----------------------------------------
for n in range(1, 10):
    for field, ref in (("x", "flt[%d].local_x"), ("y", "flt[%d].local_y"), ("z", "flt[%d].local_z"),
                       ("the", "flt[%d].theta"), ("phi", "flt[%d].phi"), ("psi", "flt[%d].psi"),
                       ("flap_ratio", "flt[%d].flaprat"), ("spoiler_ratio", "pln[%d].acf_splr_up"),
                       ("speedbrake_ratio", "flt[%d].sbrkrat"), ("slat_ratio", "flt[%d].slatrat"),
                       ("wing_sweep", "flt[%d].swdi"), ("yolk_pitch", "flt[%d].FC_ptch"),
                       ("yolk_roll", "flt[%d].FC_roll"), ("yolk_yaw", "flt[%d].FC_hdng")):
        add("multiplayer/position", "plane%d_%s" % (n, field), "FLOAT", ref % n)
    add("multiplayer/position", "plane%d_gear_deploy" % n, "FLOAT_ARRAY",
        "pln[%d].acf_gear_deploy[FLT_FIRST_GEAR_PART]" % n, 6)
    add("multiplayer/position", "plane%d_throttle" % n, "FLOAT_ARRAY", "flt[%d].ENGN_thro" % n)

# ---- sim/airfoils: the airfoil block of part 0 -------------------------------
for field, (kind, ref) in AFL.items():
    add("airfoils", field, kind, ref)
# The program keeps no further airfoil value under a name of its own.
zero("airfoils", "afl_re_now", "FLOAT")

# ---- sim/aircraft: the aircraft record by group --------------------------------
add("aircraft", "acf_struct", "INT_ARRAY", "acf_struct_words")
# Fields the program names under a group of their own, before the patterns.
FIXED = {
    "controls": "acf_RSC_mingreen_prp acf_RSC_redline_prp acf_flap_detents acf_flap_dn",
    "engine": "acf_num_engines acf_throtmax_FWD acf_throtmax_REV",
    "prop": "acf_en_type acf_prop_type acf_min_pitch acf_max_pitch",
    "gear": "acf_gear_retract",
    "overflow": "acf_Vle acf_cus_rnd_use acf_draw_geo_frnt_views acf_gear_steers acf_has_refuel acf_jett_is_slung "
                "acf_num_tanks acf_num_thrustpoints wpn_name",
    "parts": "acf_Rafl0 acf_Rafl1 acf_Tafl0 acf_Tafl1 acf_body_X acf_body_Y acf_body_Z acf_els acf_flap acf_gear_def "
             "acf_gear_deploy acf_in_downwash",
    "specialcontrols": "acf_autosbrkEQ acf_chute_area acf_jato_dur acf_splr_up",
    "view": "acf_tailnum acf_author acf_descrip acf_HUD_cntrx acf_HUD_cntry acf_Mmo acf_Vfe acf_Vne acf_Vno acf_Vs "
            "acf_Vso acf_asi_kts acf_est_Vs acf_peX acf_size_x acf_size_z acf_yawstringx",
    "vtolcontrols": "acf_vectEQ",
    "weight": "acf_m_empty acf_m_fuel_tot acf_m_max",
    "artstability": "acf_has_clutch",
    "panel": "acf_ins_type acf_ins_size",
    "forcefeedback": "acf_ff_hydraulic acf_ff_stickshaker",
    "bodies": "acf_body_r",
}
PATTERNS = [
    ("panel", r"acf_ins_"),
    ("view", r"acf_(V\w+|Mmo|G(neg|pos)|has_navlites|pe[XYZ]|\w*lanlite\w*|\w*fuserb\w*|\w*taillite\w*|"
             r"yawstring\w|HUD_\w+|stall_warn_alpha|tow_hook_\w|win_hook_\w|cockpit_type|warn\dEQ|is_glossy|"
             r"draw_geo_side_views|has_litemap_tex|refuel_\w)$"),
    ("artstability", r"acf_AS\w+$"),
    ("forcefeedback", r"acf_ff_"),
    ("vtolcontrols", r"acf_(vect\w*|auto_rpm_with_tvec|hide_prop_at_90_vect|flap_vect_\w+|cyclic_\w+|flap_arm|"
                     r"delta3|puff\w|stab_delinc_to_Vne|tail_with_coll|diff_co\w+|diff_cycl\w+|rotor_trim\w+)$"),
    ("parts", r"acf_(part_eq|[RT]afl\d|els|[XYZ]arm|C(root|tip)|semilen_\w+|element_len|[XYZ]_body_aero|dihed\w*|"
              r"sweep[12]|sweepnow|e|AR|al_D_al0|cl_D_cl0|cm_D_cm0|delta_fac|spec_wash|alpha_max|slat_effect|s|"
              r"mac|anginc|(ail1|ail2|elev|rudd|splr|drud|sbrk|flap|slat)|inc_\w+|in_downwash|body_[XYZ]|taper|"
              r"side_sign|gear_deploy|gearstatdef|gear_def|\w+_el_(first|end))$"),
    ("gear", r"acf_(gear\w*|nw_\w+|nosewheel_k|water_rud_\w+|roll_co|brake_co|is_taildragger|hybrid_gear)$"),
    ("weight", r"acf_(cg\w+|m_\w+|J\w\w_unitmass)$"),
    ("prop", r"a?acf_(en_type|prop_\w+|eng_clutch|num_blades|SFC|vertcant|sidecant|\w+_pitch|des_\w+|miprop_rpm|"
             r"eng_inertia|discarea|ringarea|bladesweep|props_linked|has_beta|auto_featherEQ|revthrust_eq|"
             r"rotor_mi_rat|tip_\w+|gear_rat)$"),
    ("engine", r"acf_(num_engines|throtmax_\w+|idle_rat_\w+|pmax|critalt|mpmax|trq_max_eng|RSC_\w+_eng|tmax|"
               r"burnerinc|max_mach_eff|face_\w+|spooltime_\w+|lift_fan_rat|fmax_\w+|h_opt|eng_mass|"
               r"starter_torque_rat|battery_cap|friction_rat)$"),
    ("controls", r"acf_((ail1|ail2|elev|rudd|splr|drud|sbrk|flap|slat)_\w+|\w+_trim_\w+|hstb_trim_\w+|con_smooth|"
                 r"flap_\w+|blown_flap_\w+|blow_all_controls|drive_by_wire|RSC_\w+_prp|\w+EQ)$"),
    ("specialcontrols", r"acf_(flap_roll|flap_ptch|mass_shift\w*|wing_tilt_\w+|tvec_\w+|jato_\w+|stab\w+|"
                        r"elevflaps|ail\dpitch|ail\dflaps|ail2vmax|diff_thro_with_\w+|phase_tvect_\w+|auto\w+EQ|"
                        r"arrestingEQ|rev_on_touchdown|gearhornEQ|flaps_with_\w+|brake_\w|chute_\w+|splr_up)$"),
]
SKIP = re.compile(r"acf_(unpub_\w+|byte_order|file_name|file_path|draw_geo|afl|wpn_slot|reserved|part_left|"
                  r"trq_max_prp|gear_rat|jett_is_water|elv_trim_neg_lim|elv_trim_pos_lim|ail_trim_neg_lim|"
                  r"ail_trim_pos_lim|rud_trim_neg_lim|rud_trim_pos_lim)$|^(thrust_vector_angle|afl)$")
members = {g.split("/")[1]: [] for g in GROUP_SIZES if g.startswith("aircraft/")}
for g, names in FIXED.items():
    members[g] += names.split()
fixed_all = set(n for v in FIXED.values() for n in v.split())
leftover = []
for field in ACF:
    if field in fixed_all or SKIP.search(field) or "pln[0].%s" % field in taken:
        continue
    for g, pattern in PATTERNS:
        if re.match(pattern, field) and len(members[g]) < GROUP_SIZES["aircraft/" + g]:
            members[g].append(field)
            break
    else:
        leftover.append(field)
for g, names in members.items():
    if g == "overflow":
        continue
    for n in names:
        add("aircraft/" + g, n, ACF[n][0], ACF[n][1])
# The overflow group takes the rest, by the type each run still needs.
count = {k: 0 for k in TYPE_TOTALS}
for _, _, k, _ in rows:
    count[k] += 1
for n in members["overflow"]:
    # The steering flags are published as a byte array of 73: the first 73 bytes of the record's words.
    k = "BYTES" if n == "acf_gear_steers" else ACF[n][0]
    count[k] += 1
    add("aircraft/overflow", n, k, ACF[n][1], 73 if n == "acf_gear_steers" else None)
need = {k: TYPE_TOTALS[k] - count[k] for k in TYPE_TOTALS}
for n in leftover:
    k = ACF[n][0]
    if need[k] > 0 and sum(1 for g, *_ in rows if g == "aircraft/overflow") < GROUP_SIZES["aircraft/overflow"]:
        add("aircraft/overflow", n, k, ACF[n][1])
        need[k] -= 1

# ---- checks --------------------------------------------------------------------
errors = []
by_group = {}
for g, *_ in rows:
    by_group[g] = by_group.get(g, 0) + 1
for g, size in GROUP_SIZES.items():
    have = by_group.get(g, 0) + COMPUTED.get(g, 0)
    if have != size:
        errors.append("group %s: %d names, %d wanted" % (g, have, size))
totals = {k: sum(1 for r in rows if r[2] == k) for k in TYPE_TOTALS}
for k, want in TYPE_TOTALS.items():
    if totals[k] != want:
        errors.append("type %s: %d names, %d wanted" % (k, totals[k], want))
names = [r[1] for r in rows]
if len(set(names)) != len(names):
    errors.append("duplicate names: %s" % sorted(n for n in set(names) if names.count(n) > 1))
if errors:
    sys.stderr.write("\n".join(errors) + "\n")
    sys.stderr.write("left over: %s\n" % " ".join(leftover))
    sys.exit(1)
sys.stderr.write("names without a variable (a word of their own): %s\n" % ", ".join(zeros))

print("// Written by tools/gen_plugin_names.py from the record headers; run it again when they change.")
for run in TYPE_TOTALS:
    print("#define BLOCK_%s_ROWS \\" % run)
    for g, name, kind, text in rows:
        if kind == run:
            print("    %s \\" % text)
    print("")
