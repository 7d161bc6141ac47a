#pragma once

#include <QImage>
#include <QRandomGenerator>
#include <QSize>

// What the pixels of a random picture are.
enum class RandomPixels {
    BlackWhite,  // 1-bit with the canvas's palette: black at index 0, white at index 1
    WhiteBlack,  // 1-bit with white at index 0, as the toolkit reads 1-bit BMP files
    CellColours, // 32-bit colour: bright without blue (a cell off), dark with a little (on)
    Translucent, // 32-bit with alpha: any colour, half of them half transparent
};

// Every pixel random, borders and disagreeing cell interiors included, drawn from `random`
// so that a test can go on drawing from the same sequence.
QImage randomPicture(const QSize &size, RandomPixels pixels, QRandomGenerator &random);

// The same from a fresh generator with `seed`; print the seed when a check fails.
QImage randomPicture(const QSize &size, RandomPixels pixels, quint32 seed);
