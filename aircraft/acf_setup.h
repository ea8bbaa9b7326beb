// The stages of the aircraft set-up, in the order ACF_load_and_setup
// (aircraft/acf_load.cpp) runs them on a freshly read record. Each works in
// place on the slot's aircraft record pln[slot] and its flight-model record
// flt[slot]; converting twice would scale twice, so each runs once per read.
// Each stage returns at once for a slot outside 0-9, which would index past
// the records.
#pragma once

// Unit conversion to SI and re-centring on the centre of gravity.
// Reads and writes the file's English-unit fields of pln[slot]; derives the
// propeller speeds, acf_trq_max_prp, per-second SFC, wrapped sweeps and
// dihedrals, acf_m_displaced_y; ends with acf_cgY = acf_cgZ = 0.
void ACF_setup_convert(int slot);

// Gear in service: acf_tire_contact_area, acf_gear_latN/lonN/axiN from the
// extended angles, acf_gear_steers, acf_hybrid_gear.
void ACF_setup_gear(int slot);

// Wing stages 1 and 2 and the critical-altitude boost. Reads the converted
// geometry and the airfoil blocks; writes acf_element_len, acf_alpha_max,
// acf_sweepnow, acf_dihednow, acf_semilen_JND, acf_AR, acf_taper,
// acf_delta_fac, acf_e, acf_cl_D_cl0, acf_al_D_al0, acf_cm_D_cm0,
// acf_critalt_boost_pa and flt foil_sin/cos_dih/swe; report lines for slot 0.
void ACF_setup_wings(int slot);

// Propeller discs and blades, engine masses and the moments of inertia.
// Writes acf_ringarea, acf_discarea, acf_prop_mass, acf_miprop_rpm,
// acf_has_prop_type5, acf_has_collective_rotor, acf_collective_rotor_index,
// acf_eng_mass, acf_trq_per_speed, the body areas and centroids (acf_s 0..2,
// acf_X/Y/Z_body_aero of parts 44..66) and acf_Jxx/Jyy/Jzz_unitmass.
void ACF_setup_props_and_masses(int slot);

// Slat effect of the wing parts and the stall-speed estimate acf_est_Vs.
void ACF_setup_slats_and_stall(int slot);

// The downwash map acf_in_downwash (every slot) and, for slot 0 only, the
// downwash factors acf_spec_wash with their report lines.
void ACF_setup_downwash(int slot);

// The centre-of-pressure and static-margin lines of the report (slot 0).
void ACF_setup_pressure_centre(int slot);

// Initial fuel, jettisonable and fixed payload in flt[slot]: m_fuel1..3,
// m_jettison, m_fixed (kg), from the tanks, the weapons and the weights.
void ACF_setup_initial_masses(int slot);

// The head of the set-up report for slot 0: separators, title, the path.
void ACF_setup_report_header(int slot);
