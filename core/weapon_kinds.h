// Weapon kinds: the kind word of a weapon file and of a weapon slot (0 is an
// empty slot), and the classes the firing, flight and drawing code test.
#pragma once

constexpr int WPN_KIND_NONE = 0;
constexpr int WPN_KIND_LINE_GUN = 1;        // fire line only, no projectiles
constexpr int WPN_KIND_LINE_GUN_2 = 2;
constexpr int WPN_KIND_GUN = 3;             // shoots projectiles; aimable with the stick
constexpr int WPN_KIND_ROCKET_POD = 4;      // shoots projectiles
constexpr int WPN_KIND_MISSILE_FIRST = 8;   // 8, 9, 10: one per trigger press, guided
constexpr int WPN_KIND_MISSILE_LAST = 10;
constexpr int WPN_KIND_BOMB_PRESS = 14;     // one per trigger press
constexpr int WPN_KIND_GUIDED_BOMB = 15;    // 15, 19, 20: by firing mode and rate, guided
constexpr int WPN_KIND_GUIDED_BOMB_2 = 19;
constexpr int WPN_KIND_GUIDED_BOMB_3 = 20;
constexpr int WPN_KIND_BOMB_PRESS_2 = 21;   // one per trigger press, counted apart from kind 14
constexpr int WPN_KIND_BOMB = 22;           // by firing mode and rate
constexpr int WPN_KIND_FUEL_TANK = 23;      // never released by the trigger

// Kinds 1..4: the kinds the weapon-file reader recognises, released only in
// the frames in which the trigger holds them.
constexpr bool WPN_kind_is_trigger_held(int k) { return k >= WPN_KIND_LINE_GUN && k <= WPN_KIND_ROCKET_POD; }
// Kinds 1, 2: a fire line is drawn while released.
constexpr bool WPN_kind_draws_fire_line(int k) { return k == WPN_KIND_LINE_GUN || k == WPN_KIND_LINE_GUN_2; }
// Kinds 3, 4: shoot projectiles at their fire rate while released.
constexpr bool WPN_kind_shoots(int k) { return k == WPN_KIND_GUN || k == WPN_KIND_ROCKET_POD; }
constexpr bool WPN_kind_is_missile(int k) { return k >= WPN_KIND_MISSILE_FIRST && k <= WPN_KIND_MISSILE_LAST; }
// Kinds 15, 19, 20, 22: released by the firing mode and rate.
constexpr bool WPN_kind_is_mode_bomb(int k)
{
    return k == WPN_KIND_GUIDED_BOMB || k == WPN_KIND_GUIDED_BOMB_2 || k == WPN_KIND_GUIDED_BOMB_3 ||
           k == WPN_KIND_BOMB;
}
// Kinds 8, 9, 10, 15, 19, 20: steered towards the target plane.
constexpr bool WPN_kind_is_guided(int k)
{
    return WPN_kind_is_missile(k) || (WPN_kind_is_mode_bomb(k) && k != WPN_KIND_BOMB);
}

// The firing modes of the bombs released by mode ("sim/cockpit/weapons/firing_mode").
constexpr int WPN_FIRING_SINGLE = 0;
constexpr int WPN_FIRING_PAIRS = 1;
constexpr int WPN_FIRING_RIPPLE = 2;
constexpr int WPN_FIRING_SALVO = 3;
