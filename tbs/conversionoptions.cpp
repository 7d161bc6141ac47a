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

// Nothing: chosen from the picture.
const Choices<std::optional<dithering::Method>> &dithers()
{
    using dithering::Method;
    static const Choices<std::optional<Method>> choices{
        {QStringLiteral("auto"), std::nullopt},
        {QStringLiteral("floyd-steinberg"), Method::FloydSteinberg},
        {QStringLiteral("atkinson"), Method::Atkinson},
        {QStringLiteral("bayer"), Method::Bayer},
        {QStringLiteral("none"), Method::None}};
    return choices;
}

const Choices<bool> &levelChoices()
{
    static const Choices<bool> choices{{QStringLiteral("auto"), true},
                                       {QStringLiteral("none"), false}};
    return choices;
}

const Choices<pictureconversion::Background> &backgrounds()
{
    using pictureconversion::Background;
    static const Choices<Background> choices{{QStringLiteral("black"), Background::Black},
                                             {QStringLiteral("white"), Background::White}};
    return choices;
}

// --dither and --threshold: how grey becomes lit and dark, each chosen from the picture unless
// given.
void addDitherOptions(QCommandLineParser &options)
{
    options.addOption(choiceOption(
        QStringLiteral("dither"), QStringLiteral("METHOD"), dithers(),
        QStringLiteral("How grey becomes lit and dark pixels; auto thresholds logos, icons and "
                       "text cleanly and diffuses photos and gradients with floyd-steinberg"),
        QStringLiteral("auto")));
    options.addOption(QCommandLineOption(
        QStringLiteral("threshold"),
        QStringLiteral("Level 0-255, after the tone options, from which a pixel counts as lit; "
                       "auto (the default) picks it between the picture's main tones when it "
                       "is thresholded, 128 when it is dithered. With a dither method it only "
                       "shifts the pattern."),
        QStringLiteral("LEVEL"), QStringLiteral("auto")));
}

bool readDitherOptions(const CommandParser &parser, pictureconversion::Options *options,
                       QString *problem)
{
    if (!pickChoice(parser, QStringLiteral("dither"), dithers(), &options->dither, problem))
        return false;
    if (parser.options().value(QStringLiteral("threshold")) == QLatin1String("auto"))
        return true;
    const std::optional<int> threshold =
        parser.wholeNumber(QStringLiteral("threshold"), 0, 255, problem);
    if (!threshold) {
        *problem = QStringLiteral("--threshold takes auto or a whole number from 0 to 255, not "
                                  "'%1'.")
                       .arg(parser.options().value(QStringLiteral("threshold")));
        return false;
    }
    options->threshold = *threshold;
    return true;
}

// --levels, --brightness, --contrast and --gamma: the tone step before lit and dark are chosen.
void addToneOptions(QCommandLineParser &options)
{
    options.addOption(choiceOption(
        QStringLiteral("levels"), QStringLiteral("MODE"), levelChoices(),
        QStringLiteral("auto stretches the picture's own dark and light levels to black and "
                       "white (a flat picture keeps its tone)"),
        QStringLiteral("auto")));
    options.addOption(QCommandLineOption(
        QStringLiteral("brightness"),
        QStringLiteral("Lighten (up to 100) or darken (down to -100) the picture (default 0)."),
        QStringLiteral("N"), QStringLiteral("0")));
    options.addOption(QCommandLineOption(
        QStringLiteral("contrast"),
        QStringLiteral("More (up to 100, a hard step) or less (down to -100, flat grey) "
                       "contrast (default 0)."),
        QStringLiteral("N"), QStringLiteral("0")));
    options.addOption(QCommandLineOption(
        QStringLiteral("gamma"),
        QStringLiteral("Above 1 lightens the middle tones, below 1 darkens them; 0.2-5 "
                       "(default 1)."),
        QStringLiteral("G"), QStringLiteral("1")));
}

bool readToneOptions(const CommandParser &parser, tone::Adjustments *adjustments, QString *problem)
{
    if (!pickChoice(parser, QStringLiteral("levels"), levelChoices(), &adjustments->stretchLevels,
                    problem))
        return false;
    const std::optional<int> brightness = parser.wholeNumber(
        QStringLiteral("brightness"), tone::MinBrightness, tone::MaxBrightness, problem);
    const std::optional<int> contrast =
        brightness ? parser.wholeNumber(QStringLiteral("contrast"), tone::MinContrast,
                                        tone::MaxContrast, problem)
                   : std::nullopt;
    if (!brightness || !contrast)
        return false;
    adjustments->brightness = *brightness;
    adjustments->contrast = *contrast;
    const QString gammaText = parser.options().value(QStringLiteral("gamma"));
    bool ok = false;
    const double gamma = gammaText.toDouble(&ok);
    if (!ok || gamma < tone::MinGamma || gamma > tone::MaxGamma) {
        *problem = QStringLiteral("--gamma takes a number from %1 to %2, not '%3'.")
                       .arg(tone::MinGamma)
                       .arg(tone::MaxGamma)
                       .arg(gammaText);
        return false;
    }
    adjustments->gamma = gamma;
    return true;
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
    addDitherOptions(options);
    addToneOptions(options);
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
        !readDitherOptions(parser, &options, problem) ||
        !readToneOptions(parser, &options.tone, problem) ||
        !pickChoice(parser, QStringLiteral("background"), backgrounds(), &options.background,
                    problem))
        return std::nullopt;
    options.invert = parser.options().isSet(QStringLiteral("invert"));
    return options;
}

QStringList reproducingOptions(const pictureconversion::Conversion &conversion)
{
    QString method;
    for (const auto &choice : dithers())
        if (choice.second == conversion.dither)
            method = choice.first;
    return {QStringLiteral("--dither ") + method,
            QStringLiteral("--threshold %1").arg(conversion.threshold)};
}
