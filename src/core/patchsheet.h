#pragma once
// A patch written out as text: every parameter with what the screens show
// for it, grouped as the screens group them, and the list of parameters two
// patches set differently, side by side.

#include "core/patchimage.h"
#include "core/patchparameters.h"

#include <QByteArray>
#include <QList>
#include <QString>

class WaveNameLookup;

class PatchSheet
{
public:
    struct Line
    {
        QString group;       // "Tone 2 TVF"
        QString label;       // "Cutoff"
        QString value;       // "64"
        QByteArray stored{}; // the parameter's bytes
        bool operator==(const Line &) const = default;
    };

    // Wave names come from waves; without one the waves show by number.
    explicit PatchSheet(WaveNameLookup *waves = nullptr) : waves_(waves) {}

    // Every parameter in sheet order: common, per tone wave, TVF, TVA, TVP,
    // LFO, controllers and range, then effects and mixer.
    QList<Line> lines(const PatchImage &image) const;
    // The whole sheet: a title line, then the groups with their lines.
    QString text(const PatchImage &image, const QString &title) const;
    // The parameters whose texts differ; empty when the patches read alike.
    QString diff(const PatchImage &a, const PatchImage &b) const;

    // What the screens show for a parameter (tone 1..4, 0 for common ones).
    QString valueText(const PatchParameters::Parameter &p, const PatchImage &image, int tone) const;

private:
    WaveNameLookup *waves_;
};
