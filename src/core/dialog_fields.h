#pragma once
// The fields of command dialogs that live for the run only (not persisted). Each struct is one
// dialog; its rows in the settings table are named group.Field.

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

struct MdrSaveOptions { // "mdr"
    int32_t DataType = 0;
    int32_t ScanType = 0;
    int32_t Compression = 0;
    int32_t Coding = 0;
};

// How a RAW height file is laid out; what its length cannot tell is asked for.
struct RawFields {          // "raw"
    int32_t Width = 0;      // 0: from the file's length, when it holds a square
    int32_t Height = 0;     // 0: from the file's length and Width
    int32_t ByteOrder = 0;  // 0 little-endian, 1 big-endian
    int32_t SouthUp = 0;    // 1: the file's first row is the southern edge
    int32_t EngineSize = 0; // on writing: 0 the Surface's size, 1 2^n+1 edge-extended, 2 resampled
};

// The heights of integer 0 and of the largest integer when PNG and 16-bit RAW files are read;
// Low == High reads the integers themselves.
struct GreyRangeFields { // "range"
    double Low = 0.0;
    double High = 0.0;
};

struct RasterSaveFields {     // "png", "tif"
    int32_t PngBits = 16;     // png.BitDepth: 8 or 16
    int32_t TiffDataType = 0; // tif.DataType: 0 Float32, 1 Int16, 2 UInt16
    int32_t EngineSize = 0;   // png.EngineSize: as raw.EngineSize
};

enum MeshBox : int32_t { MeshBoxAsGiven = 0, MeshBoxMap = 1, MeshBoxUnit = 2, MeshBoxPixel = 3 };
enum MeshAdaptiveMode : int32_t { AdaptiveMaxError = 0, AdaptivePolygons = 1 };

struct MeshExportFields { // "mesh": the "3D DXF Exporting" dialog of every mesh type
    int32_t Width = 0;    // output vertices; set to the Surface's size each time
    int32_t Height = 0;
    int32_t Step = 0; // every Step-th sample instead of Width and Height; 0 for none
    int32_t Decimals = 4;
    double MinX = 0.0;
    double MinY = 0.0;
    double MinZ = 0.0;
    double MaxX = 1.0;
    double MaxY = 1.0;
    double MaxZ = 1.0;
    double ClipLow = -1e20;
    double ClipHigh = 1e20;
    int32_t Box = MeshBoxAsGiven; // the box buttons: the Minimum and Maximum taken from the Surface
    bool Adaptive = false;        // shown and kept; no writer uses the adaptive settings
    double AdaptiveValue = 1000.0;
    int32_t AdaptiveMode = AdaptiveMaxError;
};

enum ContourValueMode : int32_t { ContourByLevels = 0, ContourByMeters = 1 };

struct DxfContourFields { // "dxf-contours": the "Two-D Contour Lines" dialog
    double Value = 10.0;
    int32_t Mode = ContourByLevels;
    bool Merge = false;
    bool Elevations = false;
};

enum Cc2Smoothing : int32_t { Cc2SmoothNone = 0, Cc2SmoothBSpline = 1, Cc2SmoothParabolic = 2 };

struct Cc2ExportFields { // "cc2": the "CC2 File Export" dialog; corners and altitudes prefilled
    double UpperLeftX = 0.0;
    double UpperLeftY = 0.0;
    double LowerRightX = 0.0;
    double LowerRightY = 0.0;
    double Minimum = 0.0;
    double Maximum = 0.0;
    double Interval = 100.0;
    int32_t Layer = 0; // a list that has no effect
    int32_t Smoothing = Cc2SmoothNone;
    int32_t Resolution = 8;
};

struct BryceExportFields { // "bryce2", "bryce3d": the "Bryce 2 Surface Size" dialog of each kind
    int32_t Size = 128;
    // The area used, in samples; the whole Surface at first and whenever the Surface's size is
    // no longer the one it was chosen on.
    double Top = 0.0;
    double Left = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
    int32_t ChosenOnWidth = -1;
    int32_t ChosenOnHeight = -1;
};

struct JourneyRange {
    double Start = 0.0;
    double End = 0.0;
};

enum JourneyOutput : int32_t {
    JourneyNoOutput = 0,
    JourneyBmpSequence = 1,
    JourneyPcxSequence = 2
};

// "journey": the "Enter Texture Journey Parameters" dialog, kept for the run; each parameter
// starts and ends at the generation record's default.
struct JourneyFields {
    JourneyRange fgain{2.0, 2.0};
    JourneyRange H{1.0, 1.0};
    JourneyRange lacunarity{2.0, 2.0};
    JourneyRange octaves{5.0, 5.0};
    JourneyRange offset{1.0, 1.0};
    JourneyRange xpos{-10.0, -10.0}, ypos{-10.0, -10.0}, zpos{-10.0, -10.0};
    JourneyRange xrange{2.0, 2.0}, yrange{2.0, 2.0}, zrange{2.0, 2.0};
    JourneyRange Top{90.0, 90.0}, Left{-180.0, -180.0}, Right{180.0, 180.0};
    JourneyRange Bottom{-90.0, -90.0};
    int32_t Type = 4; // the list index: surface type - 2
    int32_t Seed = 12345;
    bool Spherical = true;
    int32_t Frames = 10;
    int32_t Output = JourneyNoOutput;
    int32_t Sequence = 0;
    bool ShowStatus = false;
};

struct SurfaceSizeFields { // "new", "size"
    int32_t Width = 0;
    int32_t Height = 0;
};

struct SurfaceEdgeFields { // "new", "map-info"
    double Top = 0.0;
    double Left = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
};

struct ExponentFields { // "exponent"
    double Land = 2.0;
    double Sea = 0.5;
    double SeaLevel = 0.0;
    bool Preserve = true;
};

struct OffsetFields { // "offset"
    double Amount = 0.0;
};

struct ReplaceFields { // "replace"
    double Base = 0.0;
    double Variance = 0.0;
    double NewValue = 0.0;
};

enum ThresholdMode : int32_t { ThresholdByLevels = 0, ThresholdByInterval = 1 };

struct ThresholdFields { // "threshold"
    double Value = 500.0;
    int32_t Mode = ThresholdByLevels;
};

enum NoiseType : int32_t {
    NoiseUniform = 0,
    NoiseGaussian = 1,
    NoiseExponential = 2,
    NoiseRayleigh = 3,
};

struct NoiseFields { // "add-noise"
    int32_t Type = NoiseUniform;
    double Mean = 0.0;
    double Variance = 1.0;
    double Except = 0.1;
    bool UseSeaLevel = true;
};

struct HistogramFields { // "histogram"
    int32_t Bins = 100;
    double Lowest = 0.0;
    double Highest = 1.0;
};

struct DeltaCodingFields { // "xxx": Decode stands for the Shift key held
    bool Decode = false;
    // What encoding remembered for decoding.
    double Lo = 0.0;
    double Hi = 0.0;
};

enum SelectionRangeHow : int32_t { RangeBetween = 0, RangeNotBetween = 1 };
enum SelectionOperation : int32_t { SelectionReplace = 0, SelectionAdd = 1, SelectionSubtract = 2 };

struct HeightRangeFields { // "select-height-range"
    int32_t How = RangeBetween;
    int32_t Operation = SelectionReplace;
    double Minimum = 0.0;
    double Maximum = 0.0;
};

struct FeatherFields { // "feather"
    int32_t Radius = 4;
};

struct FileFields { // "load-selection", "save-selection", "kernel-load", "kernel-save"
    std::string Path;
};

struct ToroidalOffsetFields { // "toroidal-offset"
    int32_t XSamples = 0;
    int32_t YSamples = 0;
};

struct ResampleFields { // "resample": size and edges, filled from the Surface
    int32_t XSize = 0;
    int32_t YSize = 0;
    double Top = 0.0;
    double Left = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
};

enum QuadUnits : int32_t { QuadPixels = 0, QuadPlaneUnits = 1 };

struct QuadCorner {
    double Lon = 0.0;
    double Lat = 0.0;
};

struct QuadResampleFields { // "quad-resample"
    int32_t Units = QuadPixels;
    QuadCorner UpperLeft;
    QuadCorner UpperRight;
    QuadCorner LowerLeft;
    QuadCorner LowerRight;
    int32_t Width = 0;
    int32_t Height = 0;
};

struct QuiltFields { // "quilt-map"
    double Scale = 2.0;
    double Offset = 0.5;
};

struct LightMapFields { // "light-map"
    double Azimuth = 315.0;
    double Elevation = 45.0;
};

struct SeaMaskFields { // "sea-mask": the sea level is the lighting's own
    bool SeaWhite = true;
};

// "Erosion Model Properties" of the fluvial erosion.
struct ErosionFields { // "fluvial"
    int32_t Steps = 1;
    double Deposition = 0.1;
    double Capacity = 5.0;
    double Softness = 0.3; // edited, not used by the model
    int32_t Redraw = 1;
    int32_t RainFrequency = 10;
    double RainAmount = 0.5;
    bool Fraction = false;
    bool Noise = false; // "Adjust amount as 1/f noise": edited, not used by the model
    double Threshold = 0.5;
    // Where the water and sediment pictures are also written when they are shown; empty: not.
    std::string WaterFile;
    std::string SedimentFile;
};

struct LakeFields { // "find-lakes": "Lakeland Parameters"
    float InitialLevel = 10.0f;
    bool Sheet = true;
    int32_t MaxIterations = 10000;
    float WaterDelta = 1.0f;
    bool Spherical = false;
    int32_t DisplayEvery = 5;
    float DisplayThreshold = 1.0f;
    float DisplayMultiplier = 0.3f;
    bool SinkTop = true;
    bool SinkLeft = true;
    bool SinkRight = true;
    bool SinkBottom = true;
    float MaxDisplayedDepth = 100000.0f;
};

enum FloodFillUnits : int32_t { FloodFillPixels = 0, FloodFillLonLat = 1 };

struct FloodFillFields { // "flood-fill": "Flood Fill Settings"
    float High = 1.0f;
    float Low = 0.0f;
    float NewValue = 0.5f;
    float X = 0.0f; // a column, or a longitude
    float Y = 0.0f; // a row, or a latitude
    int32_t Units = FloodFillPixels;
};

enum WorldFloodCount : int32_t { WorldFloodFrames = 0, WorldFloodSeaDelta = 1 };
enum WorldFloodFileType : int32_t { WorldFloodBmp = 0, WorldFloodPcx = 1 };

struct WorldFloodFields { // "world-flood": "Sea Flooding"
    double Starting = 0.0;
    double Ending = 1000.0;
    int32_t Count = WorldFloodFrames;
    double Value = 10.0; // the number of frames or the sea delta
    bool SaveSequence = false;
    int32_t InitialFrame = 0; // the next frame number, advanced as pictures are written
    int32_t FileType = WorldFloodBmp;
};

// The one geoid record's model, shared by "geoid-parameters" and "fit-geoid". For the datums
// 0 .. 8 the axes show the table's values; for the user model (9) they are typed and the
// eccentricities follow from them.
struct GeoidFields {
    int32_t Model = 8; // "WGS-84"
    double A = 6378137.0;
    double B = 6356752.314245179;
};

struct FitGeoidFields { // "fit-geoid": "Adjust to Geoid"
    double Top = 0.0;   // the evaluation area, degrees
    double Left = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
    bool UseMainArea = true; // the area is the Surface's edges
    int32_t RelativeTo = 4;  // "Center"; 9 "Absolute": the typed point
    double Latitude = 0.0;   // the reference point, degrees
    double Longitude = 0.0;
    bool AddToSurface = true; // unticked, the correction is subtracted
};

enum LosSequenceType : int32_t { LosSequenceBmp = 0, LosSequencePcx = 1 };

struct LosMaskFields {     // "los-mask": "LOS Mask Calculation"
    double Latitude = 0.0; // the base position, degrees
    double Longitude = 0.0;
    double Altitude = 20.0; // metres
    bool AltitudeAboveGround = true;
    double ClipLo = -100000.0; // only ground from ClipLo to ClipHi is marked
    double ClipHi = 100000.0;
    double AzimuthStart = 0.0; // degrees clockwise from north
    double AzimuthEnd = 359.99;
    int32_t AzimuthSteps = 1500;
    double ElevationStart = -90.0;
    double ElevationEnd = 90.0;
    bool ClearImage = true;
    double Supersample = 1.5;
    bool Slices = false;
    double SliceInitial = 0.0;
    double SliceFinal = 10000.0;
    int32_t SliceFrames = 11;
    int32_t Sequence = 0; // the number of the first slice picture
    int32_t SequenceType = LosSequenceBmp;
};

// What the last histogram counted, for its dialog or the CLI to show.
struct HistogramResult {
    std::vector<int64_t> Bins;
    int64_t Below = 0;
    int64_t Above = 0;
    double Lowest = 0.0;
    double Highest = 0.0;
};

// The elevation imports.
struct BinaryImportFields { // "binary": the "Binary File Import" dialog
    int32_t SampleType = 1; // 0 "1 byte", 1 "2 byte", 2 "4 byte", 3 "4 byte, float"
    bool LsbFirst = true;
    bool Signed = true;
    int32_t LineWidth = 0;    // samples per file row; 0: the file block's right edge
    int32_t HeaderLength = 0; // bytes
    int32_t FileXStart = 0;
    int32_t FileYStart = 0;
    int32_t FileWidth = 0;  // 0: to the end of the line
    int32_t FileHeight = 0; // 0: to the end of the file
    double Top = 0.0;       // Map Edges, prefilled from the Surface
    double Left = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
    int32_t MemXStart = 0;
    int32_t MemYStart = 0;
    int32_t MemWidth = 0; // 0: the file block's (Open) or the rest of the Surface (subsection)
    int32_t MemHeight = 0;
    std::string BilHeader; // "Read BIL Header...": read before the import when not empty
};

struct DtedImageFields { // "dted-image": the edges of the "DTED Image Import" dialog
    double Top = 0.0;
    double Left = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
};

struct Gtopo30Fields { // "gtopo30-section": the "GTOPO30 Import" sheet, kept for the run
    int32_t Width = 512;
    int32_t Height = 512;
    int32_t DataType = 0;
    double Top = 0.0;
    double Left = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
    double Lat = 0.0;
    double Lon = 0.0;
    double Radius = 50000.0;
};

struct BackfillFields { // "backfill": the "TerrainBase Backfill" dialog
    std::string Path = "c:\\tbase.bin";
    int32_t Mode = 0; // 0 Below, 1 Above, 2 Between
    double Value1 = 0.0;
    double Value2 = 0.0;
    double ClipLow = -32768.0;
    double ClipHigh = 32767.0;
};

struct GridDrawFields { // "hex-grid", "rectangular-grid": what their dialogs do not keep
    int32_t Units = 0; // the hex grid's: 0 pixels, 1 degrees (the rectangular grid's is kept)
    bool PaintIntoTexture = true;
};

struct TextMessageFields { // "draw-text-message", "draw-text-message-2", "draw-text-message-3"
    std::string Text;
    int32_t X = 0;     // the column of the text's left edge
    int32_t Y = 0;     // the row of its bottom line, counted from the bottom
    int32_t Scale = 1; // pixels a dot of the font
    int32_t Color = 0xFFFFFF;
    float Value = 0.0f; // the height written or added under the text
};

struct PictureFillFields { // "draw-flood-fill"
    int32_t X = 0; // a column
    int32_t Y = 0; // a row counted from the bottom
    int32_t Color = 0;
};

} // namespace korvel
