#pragma once
// Power and torque evaluation. Nothing is stored per sample: every value is
// computed on demand at an evaluation point from a short window of roller
// revolution times around it. The cursor walks a measurement from point to
// point; the quantity table turns a point into the scaled integers the
// diagram, the printed page and the dialogs work in.
#include <cstdint>

#include "EvaluationOptions.h"
#include "Measurement.h"

struct Settings;
class EvaluationCursor;

// Quantity numbers, as the diagram's axis choices use them.
enum Quantity : int {
    kQuantitySpeed = 0,        // km/h
    kQuantityTorque = 1,       // Nm
    kQuantityPowerPs = 2,      // PS
    kQuantityPowerKw = 3,      // kW
    kQuantityTime = 4,         // s
    kQuantityEngineSpeed = 5,  // U/min
    kQuantityDistance = 6,     // m
    kQuantityPowerTorqueKw = 7,  // the diagram combines rows 3 and 1
    kQuantityPowerTorquePs = 8,  // rows 2 and 1
    kQuantityLambda = 9,       // lambda reading / 10, unscaled
};
constexpr int kQuantityCount = 10;

// Every scaled value is limited to this magnitude.
constexpr int32_t kValueLimit = 30000;

// One row of the quantity table: string ids of name and unit (0 for none),
// the decimals, and the value function, which returns the value already
// multiplied by 10 to the power of the decimals (null for rows 7 and 8).
struct QuantityDescriptor {
    int nameId;
    int unitId;
    int decimals;
    double (EvaluationCursor::*value)(uint16_t i) const;
};

// Row q of the table (q from 0 to 9).
const QuantityDescriptor& quantityDescriptor(int q);

// A scaled value as the diagram works with it: limited to ±30000 and
// truncated toward zero; an undefined value (NaN) reads as 0.
int32_t clampQuantity(double scaled);

class EvaluationCursor {
public:
    // The options are the diagram's; the calibration factors Hardware/MCorr
    // and Hardware/PCorr are read from the settings given (the program-wide
    // ones by default). Both must outlive the cursor.
    explicit EvaluationCursor(const EvaluationOptions& options);
    EvaluationCursor(const EvaluationOptions& options, const Settings& calibration);

    // The diagram's measurement slots for the slot operations below; an
    // empty slot holds null.
    void bindSlots(Measurement* const* slots, int slotCount);

    // Select a measurement and stand on its first evaluation point. The slot
    // form answers false (and leaves the cursor alone) for an empty slot.
    void rewind(Measurement& m);
    bool rewind(int slot);
    // Set index to a and find the half-width there; index moves up to twice
    // the half-width near the start. False when the data after a is too short.
    bool openWindow(unsigned a);
    // Next evaluation point; false at the end of the measurement.
    bool advance();
    // Maxima, loss point and correction factor of the measurement.
    void evaluate(Measurement& m);
    bool evaluate(int slot);

    // Value of quantity q at sample i, scaled, clamped and truncated.
    int32_t quantityValue(int q, uint16_t i) const;
    // The same before clamping (0 for rows without a value function).
    double scaledValue(int q, uint16_t i) const;

    // The value functions of the table, with the current half-width. A
    // sample the formula needs that lies outside the measurement makes the
    // value 0.
    double speedValue(uint16_t i) const;        // km/h × 10
    double torqueValue(uint16_t i) const;       // Nm × 10
    double powerPsValue(uint16_t i) const;      // PS × 10
    double powerKwValue(uint16_t i) const;      // kW × 10
    double timeValue(uint16_t i) const;         // s × 100
    double engineSpeedValue(uint16_t i) const;  // U/min
    double distanceValue(uint16_t i) const;     // m × 10
    double lambdaValue(uint16_t i) const;       // reading / 10

    // Torque at the engine from the roller's acceleration alone, Nm: no
    // loss, correction or calibration (the loss measurement uses it).
    double wheelTorque(uint16_t i) const;

    Measurement* measurement() const { return m_; }
    uint16_t index() const { return index_; }
    uint16_t halfWidth() const { return halfWidth_; }
    const EvaluationOptions& options() const { return *options_; }

private:
    unsigned count() const;
    bool reaches(uint16_t i, unsigned reach) const;
    double engineSpeedAt(uint16_t i) const;             // needs reaches(i, w)
    double correctedTorque(uint16_t i, double rpm) const;  // needs reaches(i, 2w)

    const EvaluationOptions* options_;
    const Settings* calibration_;
    Measurement* const* slots_ = nullptr;
    int slotCount_ = 0;

    Measurement* m_ = nullptr;
    uint16_t index_ = 0;
    uint16_t halfWidth_ = 0;
};
