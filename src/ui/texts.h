#pragma once

#include <QString>

// The prose of the two windows, kept apart from their layout.
namespace ui::texts {

extern const QString kAuthor;
extern const QString kDescription;
extern const QString kDisclaimer;

extern const QString kIntroduction;
extern const QString kHexadecimalFirst;
extern const QString kScientificIdea;
extern const QString kExamples;
extern const QString kTimeUnits;
extern const QString kHowToUse;
extern const QString kWhyCoherency;
extern const QString kMixedUnits;
extern const QString kPrimeFactors;

}  // namespace ui::texts
