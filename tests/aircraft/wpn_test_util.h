// Weapon files made by hand for the weapon tests: an image in the file's
// units and its bytes in either byte order.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "aircraft/wpn_file.h"
#include "core/datafile.h"

namespace wpn_test {

inline void put_f(wpn_slot_record& b, int offset, float v) { std::memcpy(reinterpret_cast<char*>(&b) + offset, &v, 4); }
inline float get_f(const wpn_slot_record& b, int offset)
{
    float v;
    std::memcpy(&v, reinterpret_cast<const char*>(&b) + offset, 4);
    return v;
}

// A weapon in the file's units: a body of 12 stations (the outline every
// reader uses), a mass, fins and a three-stage motor, with a distinct value in
// every field the reader converts.
inline std::unique_ptr<wpn_file_image> raw_weapon(int kind)
{
    auto im = std::make_unique<wpn_file_image>();
    std::memset(im.get(), 0, sizeof *im);
    wpn_slot_record& b = im->block;
    b.wpn_type = kind;
    put_f(b, 12, 1.0f);    // centre of gravity x, y, z (ft)
    put_f(b, 16, 2.0f);
    put_f(b, 20, 3.0f);
    put_f(b, 24, 0.5f);    // reference y, z (ft)
    put_f(b, 28, 1.0f);
    put_f(b, 32, 100.0f);
    put_f(b, 36, 10.0f);
    put_f(b, 48, 1000.0f);
    put_f(b, 52, 144.0f);  // square inches
    put_f(b, 56, 10.0f);   // pounds
    put_f(b, 60, 500.0f);
    put_f(b, 64, 20.0f);
    put_f(b, 68, 0.3f);    // drag coefficient, as it stands
    put_f(b, 76, 2.0f);    // square feet
    for (int i = 0; i < 4; ++i) {
        put_f(b, 80 + 4 * i, 5.0f + i);   // fin arms (ft from the reference z)
        put_f(b, 96 + 4 * i, 0.5f);       // root, tip and span chords (ft)
        put_f(b, 112 + 4 * i, 0.25f);
        put_f(b, 128 + 4 * i, 0.75f);
    }
    put_f(b, 384, 100.0f);  // thrust of the stages (lbf)
    put_f(b, 388, 50.0f);
    put_f(b, 392, 25.0f);
    put_f(b, 396, 1.5f);    // burn times (s)
    put_f(b, 400, 2.5f);
    std::strcpy(reinterpret_cast<char*>(&b) + WPN_TEXT_OFFSET, "Test store, 500 lb");
    im->radius = 0.6f;
    for (int k = 0; k < 12; ++k)
        for (int j = 0; j < 9; ++j) {
            const int p = k * ACF_BODY_POINTS + j;
            im->X[p] = 0.5f + 0.01f * j;
            im->Y[p] = 1.0f - 0.05f * j;
            im->Z[p] = 1.0f + k;
        }
    return im;
}

// The file's bytes: the letter, version 1 and the image; with 'a' every word
// in the other byte order except the text, which reads as written.
inline std::string file_bytes(char letter, const wpn_file_image& im, int32_t version = WPN_FILE_VERSION)
{
    std::string body(reinterpret_cast<const char*>(&im), sizeof im);
    uint32_t v = static_cast<uint32_t>(version);
    if (letter == 'a') {
        v = FILE_swap32(v);
        for (size_t i = 0; i < body.size(); i += 4) {
            if (i >= WPN_TEXT_OFFSET && i < WPN_TEXT_OFFSET + WPN_TEXT_SIZE) continue;
            std::swap(body[i], body[i + 3]);
            std::swap(body[i + 1], body[i + 2]);
        }
    }
    return std::string(1, letter) + std::string(reinterpret_cast<const char*>(&v), 4) + body;
}

}  // namespace wpn_test
