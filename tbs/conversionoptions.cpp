#include "conversionoptions.h"

#include "choiceoption.h"

namespace {

const Choices<picturefit::Fit> &fits()
{
    static const Choices<picturefit::Fit> choices{
        {QStringLiteral("contain"), picturefit::Fit::Contain},
        {QStringLiteral("cover"), picturefit::Fit::Cover},
        {QStringLiteral("stretch"), picturefit::Fit::Stretch},
        {QStringLiteral("none"), picturefit::Fit::None}};
    return choices;
}

const Choices<picturefit::Rotation> &rotations()
{
    using picturefit::Rotation;
    static const Choices<Rotation> choices{{QStringLiteral("0"), Rotation::None},
                                           {QStringLiteral("90"), Rotation::Quarter},
                                           {QStringLiteral("180"), Rotation::Half},
                                           {QStringLiteral("270"), Rotation::ThreeQuarters},
                                           {QStringLiteral("auto"), Rotation::Auto}};
    return choices;
}

const Choices<dithering::Method> &dithers()
{
    using dithering::Method;
    static const Choices<Method> choices{
        {QStringLiteral("floyd-steinberg"), Method::FloydSteinberg},
        {QStringLiteral("atkinson"), Method::Atkinson},
        {QStringLiteral("bayer"), Method::Bayer},
        {QStringLiteral("none"), Method::None}};
    return choices;
}

const Choices<pictureconversion::Background> &backgrounds()
{
    using pictureconversion::Background;
    static const Choices<Background> choices{{QStringLiteral("black"), Background::Black},
                                             {QStringLiteral("white"), Background::White}};
    return choices;
}

} // namespace

void addConversionOptions(CommandParser &parser)
{
    QCommandLineParser &options = parser.options();
    options.addOption(choiceOption(QStringLiteral("fit"), QStringLiteral("MODE"), fits(),
                                   QStringLiteral("How the picture fills the 32 x 128 screen"),
                                   QStringLiteral("contain")));
    options.addOption(choiceOption(QStringLiteral("rotate"), QStringLiteral("ANGLE"), rotations(),
                                   QStringLiteral("Clockwise turn before fitting; auto turns a "
                                                  "landscape picture"),
                                   QStringLiteral("0")));
    options.addOption(choiceOption(QStringLiteral("dither"), QStringLiteral("METHOD"), dithers(),
                                   QStringLiteral("How grey becomes lit and dark pixels"),
                                   QStringLiteral("floyd-steinberg")));
    options.addOption(QCommandLineOption(
        QStringLiteral("threshold"),
        QStringLiteral("Luminance 0-255 from which a pixel counts as lit (default 128)."),
        QStringLiteral("LEVEL"), QStringLiteral("128")));
    options.addOption(QCommandLineOption(
        QStringLiteral("invert"), QStringLiteral("Swap lit and dark over the whole screen.")));
    options.addOption(choiceOption(
        QStringLiteral("background"), QStringLiteral("COLOUR"), backgrounds(),
        QStringLiteral("What transparent pixels and margins become"), QStringLiteral("black")));
}

std::optional<pictureconversion::Options> conversionOptions(const CommandParser &parser,
                                                            QString *problem)
{
    pictureconversion::Options options;
    if (!pickChoice(parser, QStringLiteral("fit"), fits(), &options.fit, problem) ||
        !pickChoice(parser, QStringLiteral("rotate"), rotations(), &options.rotation, problem) ||
        !pickChoice(parser, QStringLiteral("dither"), dithers(), &options.dither, problem) ||
        !pickChoice(parser, QStringLiteral("background"), backgrounds(), &options.background,
                    problem))
        return std::nullopt;
    const std::optional<int> threshold =
        parser.wholeNumber(QStringLiteral("threshold"), 0, 255, problem);
    if (!threshold)
        return std::nullopt;
    options.threshold = *threshold;
    options.invert = parser.options().isSet(QStringLiteral("invert"));
    return options;
}
