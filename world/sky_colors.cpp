#include "world/sky_colors.h"

#include <cstring>

#include "core/alert.h"
#include "core/folders.h"
#include "core/text_util.h"
#include "world/bmp24.h"

float sky_gradient_table[SKY_STATES][SKY_STEPS][3];
float sky_pair_table[SKY_STATES][2][3];
float sky_state_colour_table[SKY_STATES][3];

namespace {

// The samples reach row 253 and column 136.
constexpr int SKY_MIN_ROWS = 254;
constexpr int SKY_MIN_COLUMNS = 137;

void sample(const bmp24_image& image, int row, int column, float out[3])
{
    const uint8_t* p = image.pixel(row, column);
    for (int k = 0; k < 3; ++k) out[k] = static_cast<float>(p[k] / 255.0);
}

}  // namespace

void WEATHER_load_sky_colors(const char* file_name)
{
    char path[TEXT_SIZE];
    UTIL_strcat3(folder_table[FOLDER_BITMAPS], file_name, path);

    // The image is read here directly rather than through the texture loader's
    // pixel buffer, with its own width as the row length. For a 1,024-pixel-wide
    // image the samples are those a 1,024-pixel row stride gives; the project's
    // own image is narrower, and a fixed 1,024 stride would take its samples
    // from the wrong rows. The loader would also leave colour-key pixels
    // unwritten; none lies at a sample point. An image too small for the
    // samples would be read past its end, so it ends the program like a
    // missing one.
    bmp24_image image;
    if (!BMP24_read(path, image) || image.height < SKY_MIN_ROWS || image.width < SKY_MIN_COLUMNS) {
        MACIBM_nuke_alert(0, "The sky colour image is missing or unusable:", path,
                          "It must be a 24-bit BMP image of at least 137 x 254 pixels.", "", ALERT_FATAL);
        return;
    }

    for (int i = 0; i < SKY_STATES; ++i) {
        const double c = 14.0 * i;
        for (int j = 0; j < SKY_STEPS; ++j) {
            // The step is a single-precision constant taken in double, so step 9 falls on row 253.
            double row = 33.0 + static_cast<double>(24.555555f) * j;
            if (row < 33.0) row = 33.0;
            if (row > 254.0) row = 254.0;
            sample(image, static_cast<int>(row), static_cast<int>(c + 7.0), sky_gradient_table[i][j]);
        }
        sample(image, 19, static_cast<int>(c + 4.0), sky_pair_table[i][0]);
        sample(image, 19, static_cast<int>(c + 10.0), sky_pair_table[i][1]);
        sample(image, 12, static_cast<int>(c + 7.0), sky_state_colour_table[i]);
    }
}
