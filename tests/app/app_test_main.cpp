#include "app/app_tests.h"

#include <QApplication>

#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    int failures = 0;
    for (auto run :
         {RunPositionReadoutTests,  RunSettingsRoundTripTests,  RunMainWindowTests,
          RunTextureViewTests,      RunSelectionToolTests,      RunSessionScriptTests,
          RunLockKeyTests,          RunAltitudeKeyTests,        RunPaintToolTests,
          RunLightingSheetTests,    RunColorListDialogTests,    RunCalculationOptionsTests,
          RunNewSurfaceWizardTests, RunHistogramDialogTests,    RunKernelDialogTests,
          RunBrushSetupDialogTests, RunExternalProgramsTests,   RunAutosaveRecoveryTests,
          RunJourneyWindowTests,    RunMapProjectionDialogTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
