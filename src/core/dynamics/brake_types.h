// What differs between the brake types, in one table: the pressure rule, the
// brake label, the notch count the loader uses and the sounds of the handle
// keys. A new brake type is one new entry here and its pressure rule.
#pragma once
#include <string>

#include "run.h"
#include "text/our_text.h"

namespace ts {

struct BrakeTypeTraits {
    // The 33 ms pressure rule; none for a type the program does not know.
    void (*pressures)(const TrainData& t, const Handles& h, AirBrake& air, bool emergency) = nullptr;
    // The loader's rules: a fixed count of brake positions (0: the train
    // file's), and the fewest positions the train file may give.
    int fixedNotchCount = 0;
    int minimumNotchCount = 0;
    // The brake label: "B" and the step for the service positions, or the
    // names of the automatic brake's apply, hold and maintain positions.
    bool numberedLabels = false;
    bool positionNames = false;
    // Sounds of the handle keys. Electro-pneumatic brakes play the release
    // sound at every release step; the automatic air brake only when the
    // handle reaches release with pressure in the cylinders, and plays the
    // apply sound from the apply position down.
    bool releaseSoundEveryStep = false;
    bool applySoundFromApplyPosition = false;
};

// Any value without a name is a type without a pressure rule that otherwise
// behaves as the electro-pneumatic ones.
BrakeTypeTraits brakeTraits(BrakeType brakeType);

// Why a train with too few brake positions is refused, for the message's details.
inline std::string brakeStepsExplanation(BrakeType brakeType, int minimum, int inFile) {
    return withArgs(
        trText("DataCheck", "a notched brake ([BrakeType] %1) needs at least %2 brake positions, but [Brake] gives %3"),
        {std::to_string(int(brakeType)), std::to_string(minimum), std::to_string(inFile)});
}

// The automatic air brake's apply position: the apply sound plays from here down.
constexpr int kAutomaticApplyPosition = -3;

// The pressure rules of the three types.
void automaticAirBrake(const TrainData& t, const Handles& h, AirBrake& air, bool emergency);
void electroPneumaticBrake(const TrainData& t, const Handles& h, AirBrake& air, bool emergency);
void electroPneumaticBrakeWithPipe(const TrainData& t, const Handles& h, AirBrake& air, bool emergency);

}  // namespace ts
