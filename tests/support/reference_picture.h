// The whole-window reference pictures in tests/fixtures: a frame read back
// from the 1024 x 768 window (RGBA, rows bottom up as OpenGL reads them) is
// compared with one. A missing reference fails the test; a run with
// ORVELL_UPDATE_REFERENCE set writes the frame as the new one first.
#pragma once

#include <string>
#include <vector>

// Writes the frame as a PNG file; false when it could not be written.
bool write_frame_png(const std::vector<unsigned char>& frame, const std::string& path);

// Expects fewer than `most_off` bytes of the frame to differ from the
// reference picture `name` by more than a rounding step.
void expect_like_reference(const std::vector<unsigned char>& frame, const std::string& name, int most_off);
