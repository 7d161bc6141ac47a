#pragma once

#include "pictureconversion.h"

#include <cstdint>
#include <string>
#include <vector>

// One picture converted several ways side by side, so that an owner chooses by eye: the options
// as given (with the automatic choice where they leave it), each dither method, and a plain
// threshold at several levels. Each is drawn as the marker shows it.
namespace comparesheet {

struct Candidate
{
    pictureconversion::Options options; // with the method and threshold the picture got
    pictureconversion::Conversion conversion;
};

// The candidates for the picture's levels, in the order shown; two that give the same method and
// threshold are shown once.
std::vector<Candidate> candidates(const pictureconversion::PictureLevels &levels,
                                  const pictureconversion::Options &given);

struct Panel
{
    bootscreen::DisplayPicture picture;
    std::vector<std::string> label; // lines above the screen
};

// Rows of straight RGBA.
struct Sheet
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// Each display pixel is a light (lit) or dark square with a dark gap around it, the panels
// side by side, each under its label.
Sheet draw(const std::vector<Panel> &panels);

} // namespace comparesheet
