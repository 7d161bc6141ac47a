#include "sessionplan.h"

#include <random>

namespace {

struct Weighted
{
    SessionStep::Kind kind;
    int weight;
};

// Mostly drawing; the file commands open real dialogs and are slow, so they are a small
// share, yet every few dozen steps one of them runs.
constexpr Weighted weights[] = {
    {SessionStep::Click, 300},    {SessionStep::Drag, 260},  {SessionStep::StrayButtons, 30},
    {SessionStep::TogglePen, 90}, {SessionStep::ZoomIn, 45}, {SessionStep::NormalSize, 45},
    {SessionStep::Invert, 25},    {SessionStep::AllOn, 8},   {SessionStep::AllOff, 8},
    {SessionStep::Export, 9},     {SessionStep::Import, 9},  {SessionStep::SaveBitmap, 5},
    {SessionStep::OpenBitmap, 5}, {SessionStep::Close, 3},   {SessionStep::CheckScreen, 10},
};

} // namespace

QVector<SessionStep> planSession(quint32 seed, int steps)
{
    std::mt19937 rng(seed);
    int total = 0;
    for (const Weighted &w : weights)
        total += w.weight;
    QVector<SessionStep> plan;
    plan.reserve(steps);
    for (int i = 0; i < steps; ++i) {
        int pick = std::uniform_int_distribution<int>(0, total - 1)(rng);
        SessionStep::Kind kind = SessionStep::Click;
        for (const Weighted &w : weights) {
            if (pick < w.weight) {
                kind = w.kind;
                break;
            }
            pick -= w.weight;
        }
        plan.append({kind, static_cast<quint32>(rng())});
    }
    return plan;
}

QString kindName(SessionStep::Kind kind)
{
    static const char *const names[] = {
        "click",       "drag",     "stray buttons", "toggle pen", "zoom x 3",
        "normal size", "invert",   "all on",        "all off",    "export",
        "import",      "save bmp", "open bmp",      "close",      "check screen",
    };
    return QString::fromLatin1(names[kind]);
}
