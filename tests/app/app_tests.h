#pragma once
// The editor's QtTest suites, run one after another by app_test_main.cpp.

int RunPositionReadoutTests(int argc, char** argv);
int RunSettingsRoundTripTests(int argc, char** argv);
int RunMainWindowTests(int argc, char** argv);
int RunTextureViewTests(int argc, char** argv);
int RunSelectionToolTests(int argc, char** argv);
int RunSessionScriptTests(int argc, char** argv);
int RunLockKeyTests(int argc, char** argv);
int RunAltitudeKeyTests(int argc, char** argv);
int RunPaintToolTests(int argc, char** argv);
int RunLightingSheetTests(int argc, char** argv);
int RunColorListDialogTests(int argc, char** argv);
int RunCalculationOptionsTests(int argc, char** argv);
int RunNewSurfaceWizardTests(int argc, char** argv);
int RunHistogramDialogTests(int argc, char** argv);
int RunKernelDialogTests(int argc, char** argv);
int RunBrushSetupDialogTests(int argc, char** argv);
int RunExternalProgramsTests(int argc, char** argv);
int RunAutosaveRecoveryTests(int argc, char** argv);
int RunJourneyWindowTests(int argc, char** argv);
int RunMapProjectionDialogTests(int argc, char** argv);
