// Signals and train protection: aspects from the preceding train, the cab
// signal display, the continuous speed control and the automatic train stop.
#pragma once
#include "devices/sound_device.h"
#include "panel_model.h"
#include "run.h"

namespace ts {

// The image of SignalImageList for an aspect set and an aspect state.
int signalImageIndex(int aspectSet, int state);

bool isStopImage(int image);
bool isYYImage(int image);
bool isYImage(int image);
bool isYGImage(int image);
bool isClearImage(int image);

// Every 33 ms step: the aspect of every signal row, and the preceding train.
void computeSignalAspects(const RouteData& route, const Motion& m, SignalState& signals);

// 100 ms step parts.
void cabSignalDisplay(const RouteData& route, const TrainData& t, const Motion& m, Protection& pr, SignalState& sig,
                      PanelModel& p, TDDSD& sound);
void speedControl(const RouteData& route, const TrainData& t, const LoadedTexts& texts, const Motion& m, Handles& h,
                  Protection& pr, PanelModel& p);
void automaticTrainStop(const RouteData& route, const TrainData& t, const LoadedTexts& texts, const Motion& m,
                        const Handles& h, Protection& pr, PanelModel& p, TDDSD& sound);

}  // namespace ts
