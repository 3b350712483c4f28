// The values a moving picture shows, which a teacher may type instead of hunting for the pointer
// or the clock that gives them: each comes from one input of the frame (the clock, or the
// pointer's column or row), and a typed value moves that input to the frame whose value is
// nearest, within the range links allow.
#pragma once

#include "common/frame_inputs.h"

#include <cstdint>
#include <string>

// The frame input a value comes from.
enum ParameterInput { kFromClock, kFromColumn, kFromRow };

struct Parameter {
    const char* id;        // the page's field, "param-a"
    const char* label;     // the page's label, in Polish
    int decimals;          // as the picture shows it, or as many as its smallest step needs
    ParameterInput input;
    double low, high;      // the values within reach, both included
    int step;              // how far the input moves for one step up of the value, or 0 when a
                           // step is one whole unit of the value (the terms of a sum)
    double (*valueAt)(std::int64_t input);                 // the value the frame at this input uses
    double (*inputOf)(double value, std::uint32_t ticks);  // where the value lies, as a real number,
                                                           // near the clock ticks for clock values
};

// The parameters of the moving pictures, each picture's in the order the page shows them; the
// picture table (pictures.cpp) gives each picture its own.
extern const Parameter kFrequencyParameters[1];   // 1
extern const Parameter kLogisticParameters[2];    // 2: x0, k
extern const Parameter kQuadraticParameters[2];   // 4: a, b
extern const Parameter kRotationParameters[1];    // 6: the angle in one turn
extern const Parameter kUnitCircleParameters[1];  // 7 and 8: the angle in the current turn
extern const Parameter kTaylorParameters[1];      // 10: the terms after x

// The value a parameter has in the frame of these inputs.
double parameterValue(const Parameter& parameter, const FrameInputs& inputs);

// The value as the page shows it: the parameter's decimals and a decimal comma ("3,5700").
std::string formatParameter(const Parameter& parameter, double value);

// A decimal number as a teacher types it: an optional sign (a minus or the sign −), digits, and
// at most one decimal comma or point, with blanks around allowed ("3,57", "-0.5", " 2 "). False
// for anything else (no exponents, no thousands separators, nothing left over).
bool readDecimal(const std::string& text, double& value);

// Moves the parameter's input in `inputs` to the frame whose value is nearest the text's value.
// False, with the Polish sentence that says why not (no number, out of reach), and inputs left
// alone, when it cannot.
bool setParameter(const Parameter& parameter, const std::string& text, FrameInputs& inputs, std::string& why);

// Moves the parameter's input one step up (direction 1) or down (-1), within the input's range.
void stepParameter(const Parameter& parameter, int direction, FrameInputs& inputs);
