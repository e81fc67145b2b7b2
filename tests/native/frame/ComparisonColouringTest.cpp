// The colouring method around comparisons: the sequences a run can take, each step's shown and stored method.
#include "frame/ComparisonColouring.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace pie;

enum class Step { kStart, kEnd, kUserChooses };
struct Event {
    Step step;
    ColourMethod chosen;  // kUserChooses only
    ColourMethod shown;   // the pie's method after the step
    ColourMethod stored;  // ToStore after the step
};

struct Case {
    const char* name;
    ColourMethod initial;
    std::vector<Event> events;
};

TEST(ComparisonColouring, ShownAndStoredMethodThroughEachSequence) {
    const Case cases[] = {
        {"start and end come back to the method before",
         kRainbowWash,
         {{Step::kStart, {}, kGrowth, kRainbowWash}, {Step::kEnd, {}, kRainbowWash, kRainbowWash}}},
        {"an end without a start changes nothing", kNameEncoded, {{Step::kEnd, {}, kNameEncoded, kNameEncoded}}},
        {"a second comparison keeps the method from before the first",
         kFixedColour,
         {{Step::kStart, {}, kGrowth, kFixedColour},
          {Step::kStart, {}, kGrowth, kFixedColour},
          {Step::kEnd, {}, kFixedColour, kFixedColour}}},
        {"a method the user chose during the comparison stays at its end",
         kSizeEncoded,
         {{Step::kStart, {}, kGrowth, kSizeEncoded},
          {Step::kUserChooses, kNameEncoded, kNameEncoded, kNameEncoded},
          {Step::kEnd, {}, kNameEncoded, kNameEncoded}}},
        {"a new comparison after the user's choice remembers that choice",
         kSizeEncoded,
         {{Step::kStart, {}, kGrowth, kSizeEncoded},
          {Step::kUserChooses, kFixedColour, kFixedColour, kFixedColour},
          {Step::kStart, {}, kGrowth, kFixedColour},
          {Step::kEnd, {}, kFixedColour, kFixedColour}}},
        {"Growth stored by the user stays Growth",
         kGrowth,
         {{Step::kStart, {}, kGrowth, kGrowth}, {Step::kEnd, {}, kGrowth, kGrowth}}},
        {"nothing remembered after an end",
         kRainbowWash,
         {{Step::kStart, {}, kGrowth, kRainbowWash},
          {Step::kEnd, {}, kRainbowWash, kRainbowWash},
          {Step::kUserChooses, kGrowth, kGrowth, kGrowth},
          {Step::kEnd, {}, kGrowth, kGrowth}}},
    };
    for (const Case& c : cases) {
        frame::ComparisonColouring colouring;
        ColourMethod shown = c.initial;
        int i = 0;
        for (const Event& e : c.events) {
            switch (e.step) {
            case Step::kStart: shown = colouring.Start(shown); break;
            case Step::kEnd: shown = colouring.End(shown); break;
            case Step::kUserChooses: shown = e.chosen; break;
            }
            EXPECT_EQ(shown, e.shown) << c.name << ", step " << i;
            EXPECT_EQ(colouring.ToStore(shown), e.stored) << c.name << ", step " << i;
            ++i;
        }
    }
}

}  // namespace
