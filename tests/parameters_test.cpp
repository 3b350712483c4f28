// The values a teacher types: each goes to the frame whose value is nearest, every frame's own
// value comes back to that frame, and what is no number or out of reach changes nothing.
#include "pictures/parameters.h"
#include "pictures/pictures.h"
#include "scenes/scenes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

const Parameter& parameterOf(const char* answer, const std::string& id)
{
    const int count = pictureFor(answer).parameterCount;
    const Parameter* first = pictureFor(answer).parameters;
    for (int i = 0; i < count; ++i) {
        if (first[i].id == id) {
            return first[i];
        }
    }
    ADD_FAILURE() << "no " << id << " on picture " << answer;
    return *first;
}

}  // namespace

TEST(Parameters, EveryMovingPictureHasItsFieldsAndTheStillOnesNone)
{
    const struct {
        const char* answer;
        std::string ids;
    } cases[] = {
        {"1", "param-f "}, {"2", "param-x0 param-k "}, {"3", ""}, {"4", "param-a param-b "}, {"5", ""},
        {"6", "param-angle "}, {"7", "param-angle "}, {"8", "param-angle "}, {"9", ""}, {"10", "param-terms "},
    };
    for (const auto& c : cases) {
        const int count = pictureFor(c.answer).parameterCount;
        const Parameter* first = pictureFor(c.answer).parameters;
        std::string ids;
        for (int i = 0; i < count; ++i) {
            ids += std::string(first[i].id) + " ";
        }
        EXPECT_EQ(ids, c.ids) << "picture " << c.answer;
    }
}

// Over every pointer position a link allows, the value shown (its text, as the page shows it)
// typed back gives a frame with the same value.
TEST(Parameters, EveryPointerPositionsValueTypedBackGivesTheSameValue)
{
    for (const auto& [answer, id] : {std::pair{"2", "param-x0"}, {"2", "param-k"}, {"4", "param-a"},
                                     {"4", "param-b"}, {"10", "param-terms"}}) {
        const Parameter& p = parameterOf(answer, id);
        int mismatches = 0;
        for (int position = kMinCoordinate; position <= kMaxCoordinate; ++position) {
            const FrameInputs frame{1234, {position, position}};
            const std::string shown = formatParameter(p, parameterValue(p, frame));
            FrameInputs typed{1234, {0, 0}};
            std::string why;
            ASSERT_TRUE(setParameter(p, shown, typed, why)) << id << " " << shown << ": " << why;
            if (formatParameter(p, parameterValue(p, typed)) != shown && ++mismatches <= 3) {
                ADD_FAILURE() << id << " at " << position << " shows " << shown << ", typed back gives "
                              << formatParameter(p, parameterValue(p, typed));
            }
        }
        EXPECT_EQ(mismatches, 0) << id;
    }
}

// The clock values, over a sweep of the clock: typed back near the same clock, the same value. Past
// 2^24 ms (four and a half hours) the pictures' single-precision clock is coarse, and its values
// come in a pattern the search must still find.
TEST(Parameters, TheClocksValuesTypedBackGiveTheSameValue)
{
    for (const auto& [answer, id] : {std::pair{"1", "param-f"}, {"6", "param-angle"}, {"7", "param-angle"},
                                     {"8", "param-angle"}}) {
        const Parameter& p = parameterOf(answer, id);
        int mismatches = 0;
        // Every millisecond of the first cycles, then sparser, up to the coarse clock of weeks.
        for (std::uint64_t ticks = 0; ticks <= kMaxTicks;
             ticks += ticks < 8000 ? 1 : ticks < 30000000 ? 9973 : 99999989) {
            const FrameInputs frame{static_cast<std::uint32_t>(ticks), {5, 5}};
            const std::string shown = formatParameter(p, parameterValue(p, frame));
            FrameInputs typed = frame;
            std::string why;
            ASSERT_TRUE(setParameter(p, shown, typed, why)) << id << " " << shown << ": " << why;
            if (formatParameter(p, parameterValue(p, typed)) != shown && ++mismatches <= 3) {
                ADD_FAILURE() << id << " at " << ticks << " ms shows " << shown << ", typed back gives "
                              << formatParameter(p, parameterValue(p, typed)) << " at " << typed.ticks << " ms";
            }
            EXPECT_LT(std::llabs(static_cast<long long>(typed.ticks) - static_cast<long long>(ticks)), 7000)
                << id << ": the clock stays in its turn";
        }
        EXPECT_EQ(mismatches, 0) << id;
    }
}

TEST(Parameters, TypedValuesMoveOnlyTheirInputToTheNearestFrame)
{
    const struct {
        const char* answer;
        const char* id;
        const char* typed;
        FrameInputs from;
        FrameInputs to;
        const char* shown;
    } cases[] = {
        {"4", "param-a", "2", {100, {520, 360}}, {100, {520, -40}}, "2,0000"},
        {"4", "param-b", "-3", {100, {640, -40}}, {100, {520, -40}}, "-3,0000"},
        {"4", "param-b", "\xe2\x88\x92" "3,0", {100, {640, -40}}, {100, {520, -40}}, "-3,0000"},
        {"2", "param-k", "3,57", {7, {0, 360}}, {7, {1142, 360}}, "3,5687"},
        {"2", "param-x0", " 0.5 ", {7, {0, 0}}, {7, {0, 360}}, "0,5000"},
        {"10", "param-terms", "10", {0, {3, 4}}, {0, {1152, 4}}, "10"},
        {"10", "param-terms", "-3", {0, {3, 4}}, {0, {-512, 4}}, "-3"},
        {"1", "param-f", "1,5", {8100, {9, 9}}, {8300, {9, 9}}, "1,500"},
        {"1", "param-f", "20", {8100, {9, 9}}, {11999, {9, 9}}, "19,995"},
        {"6", "param-angle", "90", {10, {1, 1}}, {565, {1, 1}}, "89,9225"},
        {"7", "param-angle", "0", {5000, {1, 1}}, {4524, {1, 1}}, "0,0170"},  // in the third turn
    };
    for (const auto& c : cases) {
        const Parameter& p = parameterOf(c.answer, c.id);
        FrameInputs inputs = c.from;
        std::string why;
        EXPECT_TRUE(setParameter(p, c.typed, inputs, why)) << c.id << " " << c.typed << ": " << why;
        EXPECT_EQ(inputs, c.to) << c.id << " " << c.typed << ": ticks " << inputs.ticks << ", pointer "
                                << inputs.mouse.x << "," << inputs.mouse.y;
        EXPECT_EQ(formatParameter(p, parameterValue(p, inputs)), c.shown) << c.id << " " << c.typed;
    }
}

TEST(Parameters, RubbishAndValuesOutOfReachAreExplainedAndChangeNothing)
{
    const struct {
        const char* answer;
        const char* id;
        const char* typed;
        const char* saying;
    } cases[] = {
        {"4", "param-a", "", "„” to nie liczba"},
        {"4", "param-a", "abc", "„abc” to nie liczba. Wpisz na przykład 1,1850."},
        {"4", "param-b", "b", "„b” to nie liczba. Wpisz na przykład \u22127,9750."},
        {"4", "param-a", "1,2,3", "to nie liczba"},
        {"4", "param-a", "1e3", "to nie liczba"},
        {"4", "param-a", "--1", "to nie liczba"},
        {"4", "param-a", "1 000", "to nie liczba"},
        {"4", "param-a", "nan", "to nie liczba"},
        {"4", "param-a", "inf", "to nie liczba"},
        {"4", "param-a", "0x10", "to nie liczba"},
        {"4", "param-a", "200", "Poza zakresem: a\u00a0może wynosić od \u2212162,0350 do 165,6400"},
        {"2", "param-k", "-1000", "Poza zakresem: k"},
        {"1", "param-f", "-0,001", "Poza zakresem: f\u00a0może wynosić od 0,000 do 20,000"},
        {"7", "param-angle", "361", "Poza zakresem"},
        {"10", "param-terms", "300", "od \u2212255 do 256"},
        {"10", "param-terms", "99999999999999999999999999999999999999999999999", "to nie liczba"},
    };
    for (const auto& c : cases) {
        const Parameter& p = parameterOf(c.answer, c.id);
        FrameInputs inputs{4321, {321, 123}};
        std::string message;
        EXPECT_FALSE(setParameter(p, c.typed, inputs, message)) << c.typed;
        EXPECT_NE(message.find(c.saying), std::string::npos) << c.typed << ": " << message;
        EXPECT_EQ(inputs, (FrameInputs{4321, {321, 123}})) << c.typed;
    }
}

// Up and down in a field move one step of the value: a pointer pixel, a millisecond, a term; never
// past the range links allow.
TEST(Parameters, StepsMoveTheValueUpAndDown)
{
    const struct {
        const char* answer;
        const char* id;
        FrameInputs from;
        int direction;
        FrameInputs to;
    } cases[] = {
        {"4", "param-a", {0, {640, 160}}, 1, {0, {640, 159}}},
        {"4", "param-b", {0, {640, 160}}, -1, {0, {639, 160}}},
        {"2", "param-x0", {0, {0, -32768}}, 1, {0, {0, -32768}}},
        {"1", "param-f", {0, {0, 0}}, -1, {0, {0, 0}}},
        {"7", "param-angle", {4000, {0, 0}}, 1, {4001, {0, 0}}},
        {"10", "param-terms", {0, {-100, 0}}, 1, {0, {128, 0}}},
        {"10", "param-terms", {0, {300, 0}}, -1, {0, {128, 0}}},
        {"10", "param-terms", {0, {32767, 0}}, 1, {0, {32767, 0}}},
    };
    for (const auto& c : cases) {
        const Parameter& p = parameterOf(c.answer, c.id);
        FrameInputs inputs = c.from;
        stepParameter(p, c.direction, inputs);
        EXPECT_EQ(inputs, c.to) << c.id << " from " << c.from.ticks << " ms, " << c.from.mouse.x << ","
                                << c.from.mouse.y << ": " << inputs.ticks << " ms, " << inputs.mouse.x << ","
                                << inputs.mouse.y;
    }
}
