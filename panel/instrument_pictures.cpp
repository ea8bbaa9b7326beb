// The instrument picture table and the design size of each type's face.
#include "panel/instrument_pictures.h"

namespace {

// Entry t is the picture of instrument type t. The names of the cockpit
// pictures are the instrument names the drawers use; retired types read
// "no longer used".
constexpr const char* pictures[PANEL_INSTRUMENT_TYPES] = {
    "cockpit:supplement:tailnum.bmp",                    // 0
    "cockpit:buttons:but_land_light.bmp",                // 1
    "cockpit:buttons:but_HUD_power.bmp",                 // 2
    "cockpit:de-ice:pitot_heat.bmp",                     // 3
    "cockpit:de-ice:all_systems.bmp",                    // 4
    "cockpit:buttons:but_autobrake.bmp",                 // 5
    "cockpit:buttons:but_autofeather.bmp",               // 6
    "cockpit:buttons:but_yawdamp.bmp",                   // 7
    "cockpit:buttons:but_propsync.bmp",                  // 8
    "cockpit:buttons:but_FADEC.bmp",                     // 9
    "cockpit:buttons:but_arrest.bmp",                    // 10
    "cockpit:buttons:but_jettison.bmp",                  // 11
    "cockpit:buttons:but_fueldump.bmp",                  // 12
    "cockpit:buttons:but_chute.bmp",                     // 13
    "cockpit:buttons:but_JATO.bmp",                      // 14
    "cockpit:buttons:but_prerotate.bmp",                 // 15
    "cockpit:buttons:but_prerotatelevel.bmp",            // 16
    "cockpit:buttons:but_rud_trim_reset.bmp",            // 17
    "cockpit:buttons:but_ail_trim_reset.bmp",            // 18
    "cockpit:buttons:but_brakes.bmp",                    // 19
    "cockpit:buttons:but_gear_handle_GA.bmp",            // 20
    "cockpit:buttons:but_gear_handle_HM.bmp",            // 21
    "cockpit:buttons:but_gear_light_GA.bmp",             // 22
    "cockpit:buttons:but_gear_light_HM.bmp",             // 23
    "cockpit:buttons:but_hsi_12.bmp",                    // 24
    "cockpit:buttons:but_hsi_12GPS.bmp",                 // 25
    "cockpit:buttons:but_rmi_12.bmp",                    // 26
    "cockpit:buttons:but_rmi_12GPS.bmp",                 // 27
    "cockpit:buttons:but_map_zoom.bmp",                  // 28
    "cockpit:buttons:but_battery.bmp",                   // 29
    "cockpit:buttons:but_avionics.bmp",                  // 30
    "cockpit:buttons:but_generator.bmp",                 // 31
    "cockpit:buttons:but_inverter.bmp",                  // 32
    "cockpit:buttons:but_fuelpump.bmp",                  // 33
    "cockpit:buttons:but_starter_GA.bmp",                // 34
    "cockpit:buttons:but_starter_BC.bmp",                // 35
    "cockpit:buttons:but_starter_HM.bmp",                // 36
    "cockpit:buttons:but_flitedir_modeSC.bmp",           // 37
    "cockpit:buttons:but_fuel_01.bmp",                   // 38
    "cockpit:rheostats:rhe_panel_brt.bmp",               // 39
    "cockpit:rheostats:rhe_HUD_brt.bmp",                 // 40
    "cockpit:rheostats:rhe_baro.bmp",                    // 41
    "cockpit:rheostats:rhe_OBS_1.bmp",                   // 42
    "cockpit:rheostats:rhe_OBS_2.bmp",                   // 43
    "cockpit:rheostats:rhe_ADF_1.bmp",                   // 44
    "cockpit:rheostats:rhe_ADF_2.bmp",                   // 45
    "cockpit:rheostats:rhe_radalt.bmp",                  // 46
    "cockpit:handles:han_slider_thro_vernier.bmp",       // 47
    "cockpit:handles:han_slider_thro_linear.bmp",        // 48
    "cockpit:handles:han_slider_prop_vernier.bmp",       // 49
    "cockpit:handles:han_slider_prop_lin.bmp",           // 50
    "cockpit:handles:han_slider_mix_vernier.bmp",        // 51
    "cockpit:handles:han_slider_mixture_lin.bmp",        // 52
    "cockpit:handles:han_slider_heat_vernier.bmp",       // 53
    "cockpit:handles:han_slider_cheat_lin.bmp",          // 54
    "cockpit:handles:han_slider_cowl.bmp",               // 55
    "cockpit:handles:han_sbrake1.bmp",                   // 56
    "cockpit:handles:han_sbrake2.bmp",                   // 57
    "cockpit:handles:han_sweep.bmp",                     // 58
    "cockpit:handles:han_vect.bmp",                      // 59
    "cockpit:handles:han_slider_collective.bmp",         // 60
    "cockpit:handles:han_slider_displacement.bmp",       // 61
    "cockpit:handles:han_slider_flap_GA.bmp",            // 62
    "cockpit:handles:han_slider_flap_BC.bmp",            // 63
    "cockpit:handles:han_slider_flap_HM.bmp",            // 64
    "cockpit:handles:flap_ind_lin.bmp",                  // 65
    "cockpit:handles:han_elv_trim_act.bmp",              // 66
    "cockpit:handles:han_elv_trim_ind.bmp",              // 67
    "cockpit:handles:han_rud_trim_act.bmp",              // 68
    "cockpit:handles:han_rud_trim_ind.bmp",              // 69
    "cockpit:handles:han_ail_trim_act.bmp",              // 70
    "cockpit:handles:han_ail_trim_ind.bmp",              // 71
    "cockpit:handles:han_rot_trim_act.bmp",              // 72
    "cockpit:handles:han_rot_trim_ind.bmp",              // 73
    "cockpit:standard:asi_preset_GA_200.bmp",            // 74
    "cockpit:standard:asi_preset_GA_300.bmp",            // 75
    "cockpit:standard:asi_preset_BC_nodig.bmp",          // 76
    "cockpit:standard:asi_preset_BC_dig.bmp",            // 77
    "cockpit:standard:asi_preset_HM_nodig.bmp",          // 78
    "cockpit:standard:asi_preset_HM_dig.bmp",            // 79
    "cockpit:standard:asi_adap_GA_nodig.bmp",            // 80
    "cockpit:standard:asi_adap_GA_dig.bmp",              // 81
    "cockpit:standard:asi_adap_BC_nodig.bmp",            // 82
    "cockpit:standard:asi_adap_BC_dig.bmp",              // 83
    "cockpit:standard:asi_adap_HM_nodig.bmp",            // 84
    "cockpit:standard:asi_adap_HM_dig.bmp",              // 85
    "cockpit:standard:machmeter.bmp",                    // 86
    "cockpit:standard:ASI_Linear.bmp",                   // 87
    "cockpit:standard:Mach_linear.bmp",                  // 88
    "cockpit:standard:aoa_linear.bmp",                   // 89
    "cockpit:standard:Arthorizon_GA_vacuum.bmp",         // 90
    "cockpit:standard:HorizGlass_GA.bmp",                // 91
    "cockpit:standard:HorizGlass_BC.bmp",                // 92
    "cockpit:standard:HorizGlass_HM.bmp",                // 93
    "cockpit:standard:altimeter_GA.bmp",                 // 94
    "cockpit:standard:altimeter_BC.bmp",                 // 95
    "cockpit:standard:altimeter_HM.bmp",                 // 96
    "cockpit:standard:altimeterdig_GA.bmp",              // 97
    "cockpit:standard:altimeterdig_BC.bmp",              // 98
    "cockpit:standard:altimeterdig_HM.bmp",              // 99
    "cockpit:standard:ALT_Linear.bmp",                   // 100
    "cockpit:standard:turn_coordinator.bmp",             // 101
    "cockpit:standard:turn_needle.bmp",                  // 102
    "cockpit:standard:slip_ball_GA.bmp",                 // 103
    "cockpit:standard:slip_ball_BC.bmp",                 // 104
    "cockpit:standard:slip_ball_HM.bmp",                 // 105
    "cockpit:standard:compass_GA.bmp",                   // 106
    "cockpit:standard:compass_BC.bmp",                   // 107
    "cockpit:standard:compass_HM.bmp",                   // 108
    "cockpit:standard:Directional_Gyro_GA.bmp",          // 109
    "cockpit:standard:HSI1_GA.bmp",                      // 110
    "cockpit:standard:HSI1_BC.bmp",                      // 111
    "cockpit:standard:HSI1_HM.bmp",                      // 112
    "cockpit:standard:HSI2_GA.bmp",                      // 113
    "cockpit:standard:HSI2_BC.bmp",                      // 114
    "cockpit:standard:HSI2_HM.bmp",                      // 115
    "cockpit:standard:HSI12GPS_GA.bmp",                  // 116
    "cockpit:standard:HSI12GPS_BC.bmp",                  // 117
    "cockpit:standard:HSI12GPS_HM.bmp",                  // 118
    "cockpit:standard:HSIglass_GA.bmp",                  // 119
    "cockpit:standard:HSIglass_BC.bmp",                  // 120
    "cockpit:standard:HSIglass_HM.bmp",                  // 121
    "cockpit:standard:VVI_2000_GA.bmp",                  // 122
    "cockpit:standard:VVI_3000_GA.bmp",                  // 123
    "cockpit:standard:VVI_2000_BC.bmp",                  // 124
    "cockpit:standard:VVI_5000_BC.bmp",                  // 125
    "cockpit:standard:VVI_6000_BC.bmp",                  // 126
    "cockpit:standard:VVI_2000_HM.bmp",                  // 127
    "cockpit:standard:VVI_5000_HM.bmp",                  // 128
    "cockpit:standard:VVI_6000_HM.bmp",                  // 129
    "cockpit:standard:VVI_Linear.bmp",                   // 130
    "cockpit:standard:CDI_nav1.bmp",                     // 131
    "cockpit:standard:CDI_nav2.bmp",                     // 132
    "cockpit:standard:ADF_conven1_GA.bmp",               // 133
    "cockpit:standard:ADF_conven1_BC.bmp",               // 134
    "cockpit:standard:ADF_conven1_HM.bmp",               // 135
    "cockpit:standard:ADF_conven2_GA.bmp",               // 136
    "cockpit:standard:ADF_conven2_BC.bmp",               // 137
    "cockpit:standard:ADF_conven2_HM.bmp",               // 138
    "cockpit:standard:ADF_conven12_GA.bmp",              // 139
    "cockpit:standard:ADF_conven12_BC.bmp",              // 140
    "cockpit:standard:ADF_conven12_HM.bmp",              // 141
    "cockpit:standard:ADF_slaved1_GA.bmp",               // 142
    "cockpit:standard:ADF_slaved1_BC.bmp",               // 143
    "cockpit:standard:ADF_slaved1_HM.bmp",               // 144
    "cockpit:standard:ADF_slaved2_GA.bmp",               // 145
    "cockpit:standard:ADF_slaved2_BC.bmp",               // 146
    "cockpit:standard:ADF_slaved2_HM.bmp",               // 147
    "cockpit:standard:ADF_slaved12_GA.bmp",              // 148
    "cockpit:standard:ADF_slaved12_BC.bmp",              // 149
    "cockpit:standard:ADF_slaved12_HM.bmp",              // 150
    "cockpit:standard:RMI_N12GPS_GA.bmp",                // 151
    "cockpit:standard:RMI_N12GPS_BC.bmp",                // 152
    "cockpit:standard:RMI_N12GPS_HM.bmp",                // 153
    "cockpit:standard:RMI_NADF12_GA.bmp",                // 154
    "cockpit:standard:RMI_NADF12_BC.bmp",                // 155
    "cockpit:standard:RMI_NADF12_HM.bmp",                // 156
    "cockpit:supplement:placard_1.bmp",                  // 157
    "cockpit:supplement:placard_2.bmp",                  // 158
    "cockpit:supplement:placard_3.bmp",                  // 159
    "cockpit:supplement:placard_4.bmp",                  // 160
    "cockpit:supplement:placard_5.bmp",                  // 161
    "cockpit:supplement:placard_6.bmp",                  // 162
    "cockpit:supplement:placard_7.bmp",                  // 163
    "cockpit:supplement:placard_8.bmp",                  // 164
    "cockpit:supplement:placard_9.bmp",                  // 165
    "cockpit:EFIS:EFIS_el_horizon.bmp",                  // 166
    "cockpit:EFIS:EFIS_el_hsi_tape.bmp",                 // 167
    "cockpit:EFIS:EFIS_el_hsi_semi_Circle.bmp",          // 168
    "cockpit:EFIS:EFIS_el_hsi_full_Circle.bmp",          // 169
    "cockpit:EFIS:EFIS_el_airspeed.bmp",                 // 170
    "cockpit:EFIS:EFIS_el_altitude.bmp",                 // 171
    "cockpit:EFIS:EFIS_el_vvi_vert.bmp",                 // 172
    "cockpit:EFIS:EFIS_el_loc.bmp",                      // 173
    "cockpit:EFIS:EFIS_el_gs.bmp",                       // 174
    "cockpit:EFIS:EFIS_el_wind.bmp",                     // 175
    "cockpit:EFIS:EFIS_el_dme_1.bmp",                    // 176
    "cockpit:EFIS:EFIS_el_dme_2.bmp",                    // 177
    "cockpit:EFIS:EFIS_el_gps_time.bmp",                 // 178
    "cockpit:EFIS:EFIS_el_groundspeed.bmp",              // 179
    "cockpit:EFIS:EFIS_el_mach.bmp",                     // 180
    "cockpit:EFIS:EFIS_el_vvi_digital.bmp",              // 181
    "cockpit:EFIS:EFIS_el_radalt_min.bmp",               // 182
    "cockpit:EFIS:EFIS_el_flaps.bmp",                    // 183
    "cockpit:EFIS:EFIS_el_gear.bmp",                     // 184
    "cockpit:EFIS:EFIS_map_t_GA.bmp",                    // 185
    "cockpit:EFIS:EFIS_map_t_BC.bmp",                    // 186
    "cockpit:EFIS:EFIS_map_t_HM.bmp",                    // 187
    "cockpit:EFIS:EFIS_ORBITER_prim.bmp",                // 188
    "cockpit:EFIS:EFIS_ORBITER_horz.bmp",                // 189
    "cockpit:EFIS:EFIS_ORBITER_vert.bmp",                // 190
    "cockpit:EFIS:EFIS_HITS.bmp",                        // 191
    "cockpit:EFIS:EFIS_switches.bmp",                    // 192
    "cockpit:ECAM:ECAM_rcplin.bmp",                      // 193
    "cockpit:ECAM:ECAM_rcprnd.bmp",                      // 194
    "cockpit:ECAM:ECAM_trblin.bmp",                      // 195
    "cockpit:ECAM:ECAM_trbrnd.bmp",                      // 196
    "cockpit:ECAM:ECAM_n1_lin.bmp",                      // 197
    "cockpit:ECAM:ECAM_n1_rnd.bmp",                      // 198
    "cockpit:ECAM:ECAM_eprlin.bmp",                      // 199
    "cockpit:ECAM:ECAM_eprrnd.bmp",                      // 200
    "cockpit:ECAM:ECAM_roclin.bmp",                      // 201
    "cockpit:ECAM:ECAM_rocrnd.bmp",                      // 202
    "cockpit:ECAM:ECAM_boeing.bmp",                      // 203
    "cockpit:ECAM:ECAM_carter.bmp",                      // 204
    "cockpit:ECAM:ECAM_custom.bmp",                      // 205
    "cockpit:ECAM:ECAM_ModeSel_ENG.bmp",                 // 206
    "cockpit:ECAM:ECAM_ModeSel_FUEL.bmp",                // 207
    "cockpit:ECAM:ECAM_ModeSel_FCON.bmp",                // 208
    "cockpit:ECAM:ECAM_ModeSel_HYD.bmp",                 // 209
    "cockpit:ECAM:ECAM_ModeSel_FAIL.bmp",                // 210
    "cockpit:radios:rad_audiopanel_GA.bmp",              // 211
    "cockpit:radios:rad_audiopanel_BC.bmp",              // 212
    "cockpit:radios:rad_marker_GA.bmp",                  // 213
    "cockpit:radios:rad_marker_BC.bmp",                  // 214
    "cockpit:radios:rad_nav1_GA.bmp",                    // 215
    "cockpit:radios:rad_nav1ff_BC.bmp",                  // 216
    "cockpit:radios:rad_nav2_GA.bmp",                    // 217
    "cockpit:radios:rad_nav2ff_BC.bmp",                  // 218
    "cockpit:radios:rad_com1_GA.bmp",                    // 219
    "cockpit:radios:rad_com1ff_BC.bmp",                  // 220
    "cockpit:radios:rad_com2_GA.bmp",                    // 221
    "cockpit:radios:rad_com2ff_BC.bmp",                  // 222
    "cockpit:radios:rad_navcom1_GA.bmp",                 // 223
    "cockpit:radios:rad_navcom1ff_BC.bmp",               // 224
    "cockpit:radios:rad_navcom2_GA.bmp",                 // 225
    "cockpit:radios:rad_navcom2ff_BC.bmp",               // 226
    "cockpit:radios:rad_ADF1_GA.bmp",                    // 227
    "cockpit:radios:rad_ADF1ff_BC.bmp",                  // 228
    "cockpit:radios:rad_ADF2_GA.bmp",                    // 229
    "cockpit:radios:rad_ADF2ff_BC.bmp",                  // 230
    "cockpit:radios:rad_navcomadfFF_HM.bmp",             // 231
    "cockpit:radios:rad_GPS_GA.bmp",                     // 232
    "cockpit:radios:rad_GPS_BC.bmp",                     // 233
    "cockpit:radios:rad_GPS_HM.bmp",                     // 234
    "cockpit:radios:rad_DME_frq_GA.bmp",                 // 235
    "cockpit:radios:rad_DME_frqff_BC.bmp",               // 236
    "cockpit:radios:rad_DME_n12_GA.bmp",                 // 237
    "cockpit:radios:rad_DME_n12ff_BC.bmp",               // 238
    "cockpit:radios:rad_transponder_GA.bmp",             // 239
    "cockpit:radios:rad_transponder_BC.bmp",             // 240
    "cockpit:radios:rad_transponder_HM.bmp",             // 241
    "cockpit:autopilot:ott_ATR_eng_GA.bmp",              // 242
    "cockpit:autopilot:ott_ATR_eng_BC.bmp",              // 243
    "cockpit:autopilot:ott_ATR_eng_HM.bmp",              // 244
    "cockpit:autopilot:ott_HDG_eng_GA.bmp",              // 245
    "cockpit:autopilot:ott_HDG_eng_BC.bmp",              // 246
    "cockpit:autopilot:ott_HDG_eng_HM.bmp",              // 247
    "no longer used",                                    // 248
    "no longer used",                                    // 249
    "no longer used",                                    // 250
    "cockpit:autopilot:ott_HN_eng_GA.bmp",               // 251
    "cockpit:autopilot:ott_HN_eng_BC.bmp",               // 252
    "cockpit:autopilot:ott_HN_eng_HM.bmp",               // 253
    "cockpit:autopilot:ott_ALT_eng_GA.bmp",              // 254
    "cockpit:autopilot:ott_ALT_eng_BC.bmp",              // 255
    "cockpit:autopilot:ott_ALT_eng_HM.bmp",              // 256
    "cockpit:autopilot:ott_VVI_eng_GA.bmp",              // 257
    "cockpit:autopilot:ott_VVI_eng_BC.bmp",              // 258
    "cockpit:autopilot:ott_VVI_eng_HM.bmp",              // 259
    "cockpit:autopilot:ott_VN_eng_GA.bmp",               // 260
    "cockpit:autopilot:ott_VN_eng_BC.bmp",               // 261
    "cockpit:autopilot:ott_VN_eng_HM.bmp",               // 262
    "cockpit:autopilot:ott_BC_eng_GA.bmp",               // 263
    "cockpit:autopilot:ott_BC_eng_BC.bmp",               // 264
    "cockpit:autopilot:ott_BC_eng_HM.bmp",               // 265
    "cockpit:autopilot:ott_LCA_eng_GA.bmp",              // 266
    "cockpit:autopilot:ott_LCA_eng_BC.bmp",              // 267
    "cockpit:autopilot:ott_LCA_eng_HM.bmp",              // 268
    "cockpit:autopilot:ott_syn_eng_GA.bmp",              // 269
    "cockpit:autopilot:ott_syn_eng_BC.bmp",              // 270
    "cockpit:autopilot:ott_syn_eng_HM.bmp",              // 271
    "cockpit:autopilot:ott_ann_ATR.bmp",                 // 272
    "cockpit:autopilot:ott_ann_HDG.bmp",                 // 273
    "no longer used",                                    // 274
    "cockpit:autopilot:ott_ann_HN.bmp",                  // 275
    "cockpit:autopilot:ott_ann_ALT.bmp",                 // 276
    "cockpit:autopilot:ott_ann_VVI.bmp",                 // 277
    "cockpit:autopilot:ott_ann_VN.bmp",                  // 278
    "cockpit:autopilot:ott_ann_BC.bmp",                  // 279
    "cockpit:autopilot:ott_ann_LCA.bmp",                 // 280
    "cockpit:autopilot:ott_ann_syn.bmp",                 // 281
    "cockpit:autopilot:ott_sel_SPD.bmp",                 // 282
    "cockpit:autopilot:ott_sel_HDG.bmp",                 // 283
    "cockpit:autopilot:ott_sel_ALT.bmp",                 // 284
    "cockpit:autopilot:ott_sel_VVI.bmp",                 // 285
    "cockpit:autopilot:ott_disp_SPD.bmp",                // 286
    "cockpit:autopilot:ott_disp_HDG.bmp",                // 287
    "cockpit:autopilot:ott_disp_ALT.bmp",                // 288
    "cockpit:autopilot:ott_disp_VVI.bmp",                // 289
    "cockpit:autopilot:ott_seldisp_SPD.bmp",             // 290
    "cockpit:autopilot:ott_seldisp_HDG.bmp",             // 291
    "cockpit:autopilot:ott_seldisp_ALT.bmp",             // 292
    "cockpit:autopilot:ott_seldisp_VVI.bmp",             // 293
    "cockpit:engine:RPM_prop_rnd.bmp",                   // 294
    "cockpit:engine:N1_rnd.bmp",                         // 295
    "cockpit:engine:MPR_rnd.bmp",                        // 296
    "cockpit:engine:EPR_rnd.bmp",                        // 297
    "cockpit:engine:TRQ_rnd.bmp",                        // 298
    "cockpit:engine:FF_rnd.bmp",                         // 299
    "cockpit:engine:ITT_rnd.bmp",                        // 300
    "cockpit:engine:RPM_prop_rnd_dig.bmp",               // 301
    "cockpit:engine:N1_rnd_dig.bmp",                     // 302
    "cockpit:engine:MPR_rnd_dig.bmp",                    // 303
    "cockpit:engine:EPR_rnd_dig.bmp",                    // 304
    "cockpit:engine:TRQ_rnd_dig.bmp",                    // 305
    "cockpit:engine:FF_rnd_dig.bmp",                     // 306
    "cockpit:engine:ITT_rnd_dig.bmp",                    // 307
    "cockpit:engine:RPM_prop_lin_dig.bmp",               // 308
    "cockpit:engine:N1_lin_dig.bmp",                     // 309
    "cockpit:engine:MPR_lin_dig.bmp",                    // 310
    "cockpit:engine:EPR_lin_dig.bmp",                    // 311
    "cockpit:engine:TRQ_lin_dig.bmp",                    // 312
    "cockpit:engine:FF_lin_dig.bmp",                     // 313
    "cockpit:engine:ITT_lin_dig.bmp",                    // 314
    "cockpit:engine:RPM_prop_dig.bmp",                   // 315
    "cockpit:engine:N1_dig.bmp",                         // 316
    "cockpit:engine:MPR_dig.bmp",                        // 317
    "cockpit:engine:EPR_dig.bmp",                        // 318
    "cockpit:engine:TRQ_dig.bmp",                        // 319
    "cockpit:engine:FF_dig.bmp",                         // 320
    "cockpit:engine:ITT_dig.bmp",                        // 321
    "cockpit:engine:RPM_prop_multi.bmp",                 // 322
    "cockpit:engine:RPM_rotor_multi.bmp",                // 323
    "cockpit:engine:egt.bmp",                            // 324
    "cockpit:engine:oil_quan.bmp",                       // 325
    "cockpit:engine:oil_press.bmp",                      // 326
    "cockpit:engine:oil_temp.bmp",                       // 327
    "cockpit:engine:gen_load.bmp",                       // 328
    "cockpit:standard:g_meter.bmp",                      // 329
    "cockpit:standard:g_linear.bmp",                     // 330
    "cockpit:EFIS:EFIS_map_mini.bmp",                    // 331
    "cockpit:standard:stormscope.bmp",                   // 332
    "cockpit:EFIS:EFIS_map_rain.bmp",                    // 333
    "cockpit:standard:radioalt_round.bmp",               // 334
    "cockpit:standard:radioalt_lin.bmp",                 // 335
    "cockpit:standard:radioalt_dig.bmp",                 // 336
    "cockpit:standard:totalenergy_inc.bmp",              // 337
    "cockpit:standard:suction.bmp",                      // 338
    "cockpit:standard:stall_light.bmp",                  // 339
    "cockpit:standard:clock_GA.bmp",                     // 340
    "cockpit:standard:clock_BC.bmp",                     // 341
    "cockpit:standard:clock_date_HM.bmp",                // 342
    "cockpit:standard:timer_GA.bmp",                     // 343
    "cockpit:standard:timer_BC.bmp",                     // 344
    "cockpit:standard:clock_date_timer_GA.bmp",          // 345
    "cockpit:standard:clock_date_timer_BC.bmp",          // 346
    "cockpit:standard:fuel_linear_GA.bmp",               // 347
    "cockpit:standard:fuel_round_GA.bmp",                // 348
    "cockpit:standard:Fuel_TwinRound_GA.bmp",            // 349
    "cockpit:standard:fuel_digital_GA.bmp",              // 350
    "cockpit:standard:thermo_dig.bmp",                   // 351
    "cockpit:standard:thermo_lin_C.bmp",                 // 352
    "cockpit:standard:thermo_lin_F.bmp",                 // 353
    "cockpit:standard:hour_meter.bmp",                   // 354
    "cockpit:annunciators:ann_master_caution.bmp",       // 355
    "cockpit:annunciators:ann_autopilot_disc.bmp",       // 356
    "cockpit:annunciators:ann_low_vacuum.bmp",           // 357
    "cockpit:annunciators:ann_low_voltage.bmp",          // 358
    "cockpit:annunciators:ann_fuel_quantity.bmp",        // 359
    "cockpit:annunciators:ann_fuel_press.bmp",           // 360
    "cockpit:annunciators:ann_oil_press.bmp",            // 361
    "cockpit:annunciators:ann_oil_temp.bmp",             // 362
    "cockpit:annunciators:ann_inverter.bmp",             // 363
    "cockpit:annunciators:ann_generator.bmp",            // 364
    "cockpit:annunciators:ann_chip_detect.bmp",          // 365
    "cockpit:annunciators:ann_engine_fire.bmp",          // 366
    "cockpit:annunciators:ann_hyd_press.bmp",            // 367
    "cockpit:annunciators:ann_test.bmp",                 // 368
    "cockpit:buttons:but_disp_VORADF1.bmp",              // 369
    "cockpit:buttons:but_disp_VORADF2.bmp",              // 370
    "cockpit:EFIS:EFIS_map_s_GA.bmp",                    // 371
    "cockpit:EFIS:EFIS_map_s_BC.bmp",                    // 372
    "cockpit:EFIS:EFIS_map_s_HM.bmp",                    // 373
    "cockpit:FMS:FMS_GA.bmp",                            // 374
    "cockpit:rheostats:rhe_OBS_any.bmp",                 // 375
    "cockpit:annunciators:ann_master_accept.bmp",        // 376
    "cockpit:buttons:but_marker_mute.bmp",               // 377
    "cockpit:standard:aoa_needle.bmp",                   // 378
    "cockpit:buttons:but_gear_horn_mute.bmp",            // 379
    "cockpit:buttons:but_rocket_1.bmp",                  // 380
    "cockpit:buttons:but_rocket_2.bmp",                  // 381
    "cockpit:buttons:but_rocket_3.bmp",                  // 382
    "cockpit:buttons:but_rocket_4.bmp",                  // 383
    "cockpit:buttons:but_rocket_5.bmp",                  // 384
    "cockpit:buttons:but_rocket_6.bmp",                  // 385
    "cockpit:annunciators:ann_auto_ignition.bmp",        // 386
    "cockpit:buttons:but_navlight.bmp",                  // 387
    "cockpit:buttons:but_beacon.bmp",                    // 388
    "cockpit:buttons:but_artstab.bmp",                   // 389
    "cockpit:FMS:FMS_HM.bmp",                            // 390
    "cockpit:supplement:placard_10.bmp",                 // 391
    "cockpit:supplement:placard_11.bmp",                 // 392
    "cockpit:buttons:but_fuel_012.bmp",                  // 393
    "cockpit:buttons:but_fuel_012_all.bmp",              // 394
    "cockpit:buttons:but_fuel_0123.bmp",                 // 395
    "cockpit:buttons:but_fuel_0123_all.bmp",             // 396
    "cockpit:standard:totalenergy_dec.bmp",              // 397
    "cockpit:buttons:but_fuel_xfr_0123.bmp",             // 398
    "cockpit:autopilot:ott_winglev_eng_GA.bmp",          // 399
    "cockpit:autopilot:ott_winglev_eng_BC.bmp",          // 400
    "cockpit:autopilot:ott_winglev_eng_HM.bmp",          // 401
    "cockpit:autopilot:ott_ann_winglev.bmp",             // 402
    "cockpit:buttons:but_flitedir_modeDC.bmp",           // 403
    "cockpit:EFIS:EFIS_num_PROP.bmp",                    // 404
    "cockpit:EFIS:EFIS_num_N1.bmp",                      // 405
    "cockpit:EFIS:EFIS_num_MPR.bmp",                     // 406
    "cockpit:EFIS:EFIS_num_EPR.bmp",                     // 407
    "cockpit:EFIS:EFIS_num_TRQ.bmp",                     // 408
    "cockpit:EFIS:EFIS_num_FF.bmp",                      // 409
    "cockpit:EFIS:EFIS_num_ITT.bmp",                     // 410
    "cockpit:buttons:but_idle.bmp",                      // 411
    "cockpit:engine:batt_volt.bmp",                      // 412
    "cockpit:buttons:but_ammeter_volt.bmp",              // 413
    "cockpit:buttons:but_overspeed_test.bmp",            // 414
    "cockpit:buttons:but_map_HSI.bmp",                   // 415
    "cockpit:pressurization:bleed_air.bmp",              // 416
    "cockpit:pressurization:press_test.bmp",             // 417
    "cockpit:pressurization:cabin_alt_sel.bmp",          // 418
    "cockpit:pressurization:cabin_rate_sel.bmp",         // 419
    "cockpit:pressurization:cabin_alt.bmp",              // 420
    "cockpit:pressurization:cabin_vvi.bmp",              // 421
    "cockpit:weapons:all.bmp",                           // 422
    "cockpit:weapons:gun_roc.bmp",                       // 423
    "cockpit:weapons:gun_mis.bmp",                       // 424
    "cockpit:weapons:gun_bom.bmp",                       // 425
    "cockpit:weapons:roc_mis.bmp",                       // 426
    "cockpit:weapons:roc_bom.bmp",                       // 427
    "cockpit:weapons:mis_bom.bmp",                       // 428
    "cockpit:weapons:gun_roc_mis.bmp",                   // 429
    "cockpit:weapons:gun_roc_bom.bmp",                   // 430
    "cockpit:weapons:gun_mis_bom.bmp",                   // 431
    "cockpit:weapons:roc_mis_bom.bmp",                   // 432
    "cockpit:weapons:any.bmp",                           // 433
    "cockpit:supplement:placard_12.bmp",                 // 434
    "cockpit:EFIS:EFIS_weapon_camera.bmp",               // 435
    "cockpit:buttons:but_strobelight.bmp",               // 436
    "cockpit:standard:aoa_indexer.bmp",                  // 437
    "cockpit:weapons:fire_mode.bmp",                     // 438
    "cockpit:weapons:fire_rate.bmp",                     // 439
    "cockpit:standard:vvi_adap.bmp",                     // 440
    "cockpit:autopilot:ott_asi_eng_GA.bmp",              // 441
    "cockpit:autopilot:ott_asi_eng_BC.bmp",              // 442
    "cockpit:autopilot:ott_asi_eng_HM.bmp",              // 443
    "cockpit:autopilot:ott_ann_asi.bmp",                 // 444
    "cockpit:standard:airspeed_trend.bmp",               // 445
    "cockpit:buttons:but_clutch.bmp",                    // 446
    "cockpit:buttons:but_igniter.bmp",                   // 447
    "cockpit:standard:Arthorizon_GA_electric.bmp",       // 448
    "cockpit:standard:jettison_load.bmp",                // 449
    "cockpit:buttons:but_puffer.bmp",                    // 450
    "cockpit:EFIS:EFIS_el_obs_1.bmp",                    // 451
    "cockpit:EFIS:EFIS_el_obs_2.bmp",                    // 452
    "cockpit:handles:flap_ind_rnd.bmp",                  // 453
    "cockpit:radios:rad_DME_all_GA.bmp",                 // 454
    "cockpit:autopilot:but_autopilot_test.bmp",          // 455
    "cockpit:buttons:but_taxi_light.bmp",                // 456
    "cockpit:buttons:but_clutch_transit.bmp",            // 457
    "cockpit:handles:han_incidence.bmp",                 // 458
    "cockpit:buttons:but_water_scoop.bmp",               // 459
    "cockpit:standard:Arthorizon_GA_flagged.bmp",        // 460
    "cockpit:engine:RPM_eng_rnd.bmp",                    // 461
    "cockpit:engine:RPM_eng_rnd_dig.bmp",                // 462
    "cockpit:engine:RPM_eng_lin_dig.bmp",                // 463
    "cockpit:engine:RPM_eng_dig.bmp",                    // 464
    "cockpit:EFIS:EFIS_num_ENGN.bmp",                    // 465
    "cockpit:de-ice:auto_ignition.bmp",                  // 466
    "cockpit:de-ice:inertial_separator.bmp",             // 467
    "cockpit:de-ice:inlet_heat.bmp",                     // 468
    "cockpit:de-ice:prop_heat.bmp",                      // 469
    "cockpit:de-ice:surface_bleed_air.bmp",              // 470
    "cockpit:de-ice:surface_pneumatic.bmp",              // 471
    "cockpit:de-ice:windshield_heat.bmp",                // 472
    "cockpit:buttons:but_drop_tank.bmp",                 // 473
    "cockpit:radios:rad_NavComADFff_HM2.bmp",            // 474
    "cockpit:radios:rad_Transponder_HM2.bmp",            // 475
};

constexpr bool in(int t, int lo, int hi) { return t >= lo && t <= hi; }

// The face sizes, by family: what each drawer draws about its centre at scale
// 1 fits inside its face.
constexpr instrument_design_size size_of(int t)
{
    if (t == 0) return {80, 20};                                             // tail number
    if (t == 19) return {56, 20};                                            // parking brake
    if (t == 20) return {40, 70};                                            // gear handles
    if (t == 21) return {44, 150};
    if (t == 22 || t == 23) return {40, 40};                                 // gear lights
    if (t == 34 || t == 35 || t == 36) return {40, 32};                      // starter keys
    if (in(t, 1, 38) || in(t, 369, 370) || in(t, 387, 389) || in(t, 393, 396) || t == 398 || t == 403 ||
        in(t, 411, 417) || in(t, 422, 433) || t == 436 || in(t, 438, 439) || in(t, 446, 447) || t == 450 ||
        in(t, 455, 457) || t == 459 || in(t, 466, 473) || in(t, 377, 377) || t == 379 || in(t, 380, 385))
        return {32, 32};                                                     // switches and buttons
    if (in(t, 39, 46) || t == 375) return {32, 32};                          // knobs
    if (in(t, 47, 64) || t == 458) return {40, 100};                         // levers
    if (t == 65) return {24, 70};
    if (t == 66 || t == 72) return {24, 70};                                 // trim wheels, upright
    if (t == 68 || t == 70) return {70, 24};                                 // trim wheels, across
    if (t == 67 || t == 69 || t == 71 || t == 73) return {24, 64};           // trim indicators
    if (in(t, 74, 86) || t == 440) return {140, 140};                        // round airspeed, Mach, vertical speed
    if (t == 87 || t == 88 || t == 100 || t == 130) return {64, 140};        // tapes
    if (t == 89) return {40, 130};                                           // angle-of-attack tape
    if (t == 378) return {90, 90};
    if (t == 437) return {32, 64};                                           // indexer
    if (t == 90 || t == 448 || t == 460) return {170, 164};                  // mechanical attitude indicators
    if (in(t, 91, 93)) return {132, 170};                                    // glass, with the slip ball below
    if (in(t, 94, 99)) return {140, 140};                                    // altimeters
    if (t == 101 || t == 102) return {100, 100};                             // turn needles
    if (in(t, 103, 105)) return {64, 24};                                    // slip balls
    if (in(t, 106, 108)) return {80, 40};                                    // compass strips
    if (in(t, 109, 129) || in(t, 133, 156)) return {140, 140};               // HSI, VVI, ADF and RMI
    if (t == 131 || t == 132) return {80, 80};                               // CDI
    if (in(t, 157, 165) || in(t, 391, 392) || t == 434) return {32, 32};    // placards
    if (t == 166 || in(t, 167, 169)) return {140, 140};
    if (in(t, 170, 172)) return {64, 140};
    if (t == 173) return {100, 20};
    if (t == 174) return {20, 100};
    if (in(t, 175, 184) || t == 451 || t == 452) return {64, 24};           // EFIS readouts
    if (in(t, 185, 187)) return {200, 240};                                  // EFIS maps
    if (in(t, 371, 373)) return {200, 170};
    if (t == 331 || t == 333) return {96, 96};
    if (in(t, 188, 190)) return {240, 240};                                  // orbiter displays
    if (t == 191) return {230, 320};                                         // synthetic vision
    if (t == 435) return {140, 120};                                         // weapon camera
    if (t == 192) return {120, 30};                                          // EFIS switches
    if (in(t, 193, 205)) return {200, 200};                                  // ECAM pages
    if (in(t, 206, 210)) return {32, 24};
    if (t == 211 || t == 212) return {160, 40};                              // audio panels
    if (t == 213 || t == 214) return {56, 20};                               // marker lights
    if (in(t, 215, 230)) return {200, 60};                                   // radio heads
    if (t == 231 || t == 474) return {200, 90};
    if (in(t, 232, 234)) return {200, 100};                                  // GPS
    if (in(t, 235, 238) || t == 454) return {180, 40};                       // DME
    if (in(t, 239, 241)) return {160, 40};                                   // transponders
    if (t == 475) return {100, 60};
    if (in(t, 242, 271) || in(t, 399, 401) || in(t, 441, 443)) return {32, 40};   // autopilot keys
    if (in(t, 272, 281) || t == 402 || t == 444) return {32, 12};                 // autopilot lights
    if (in(t, 282, 285)) return {32, 32};
    if (in(t, 286, 289)) return {64, 20};
    if (in(t, 290, 293)) return {64, 44};
    if (in(t, 294, 300) || t == 322 || t == 323 || t == 461) return {70, 70};     // round engine dials
    if (in(t, 301, 307) || t == 462) return {70, 84};                             // with the drum below
    if (in(t, 308, 314) || t == 463) return {40, 110};                            // bars with the drum above
    if (in(t, 315, 321) || t == 464) return {50, 20};                             // digital readouts
    if (in(t, 324, 328) || t == 412) return {64, 64};                             // small engine gauges
    if (t == 329) return {70, 70};                                                // g meter
    if (t == 330) return {40, 120};
    if (t == 332) return {100, 100};                                              // stormscope
    if (t == 334) return {80, 80};
    if (t == 335) return {40, 120};
    if (t == 336) return {80, 24};
    if (t == 337 || t == 397) return {80, 80};                                    // variometers
    if (t == 338) return {60, 60};                                                // suction
    if (t == 339) return {32, 20};                                                // stall light
    if (in(t, 340, 342)) return {80, 80};                                         // clocks
    if (in(t, 343, 346)) return {80, 60};
    if (t == 347) return {64, 64};
    if (t == 348 || t == 349) return {80, 80};
    if (t == 350) return {80, 24};
    if (t == 351) return {70, 24};
    if (t == 352 || t == 353) return {40, 100};
    if (t == 354) return {44, 20};                                                // hour meter
    if (in(t, 355, 367) || t == 376 || t == 386) return {40, 12};                 // annunciator lights
    if (t == 368) return {24, 24};                                                // lamp test
    if (t == 374 || t == 390) return {240, 200};                                  // FMS
    if (in(t, 404, 410) || t == 465) return {60, 12};                             // engine text readouts
    if (t == 418 || t == 419) return {64, 64};
    if (t == 420 || t == 421) return {140, 140};
    if (t == 445) return {20, 130};                                               // airspeed trend
    if (t == 449) return {20, 72};                                                // jettison lights
    if (t == 453) return {60, 60};                                                // round flap indicator
    return {32, 32};
}

}  // namespace

const char* PANEL_instrument_picture(int type)
{
    if (type < 0 || type >= PANEL_INSTRUMENT_TYPES) return "";
    return pictures[type];
}

instrument_design_size PANEL_instrument_design_size(int type)
{
    if (type < 0 || type >= PANEL_INSTRUMENT_TYPES) return {0, 0};
    return size_of(type);
}
