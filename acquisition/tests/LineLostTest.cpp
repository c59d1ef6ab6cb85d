// A run whose serial line fails: waiting goes back to idle without an
// ending, recording ends with what was recorded kept for the save.
#include <gtest/gtest.h>

#include "MeasurementRun.h"

TEST(MeasurementRun, ALostLineEndsARecordingAndKeepsItsSamples) {
    Settings settings;
    LiveValues live;
    double estimate = 0.0;
    MeasurementRun run(live, settings, estimate);
    run.allocate();
    settings.recordStartMode = 1;
    settings.recordStartVal = 0;

    run.lineLost();
    EXPECT_EQ(run.takeEnding(), MeasurementRun::Ending::None) << "idle";

    run.startWaiting();
    run.lineLost();
    EXPECT_EQ(run.runState(), RunState::Idle);
    EXPECT_EQ(run.takeEnding(), MeasurementRun::Ending::None) << "waiting: nothing recorded";

    run.startWaiting();
    for (int i = 0; i < 51; ++i) run.rollerFrame(80000);  // the first starts the run
    ASSERT_EQ(run.runState(), RunState::Recording);
    run.lineLost();
    EXPECT_EQ(run.runState(), RunState::Idle);
    EXPECT_EQ(run.takeEnding(), MeasurementRun::Ending::LineLost);
    EXPECT_EQ(run.sampleCount(), 50);
    EXPECT_EQ(run.times()[49], 50 * 80000);
}
