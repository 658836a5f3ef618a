#pragma once

#include <functional>
#include <string>

// Small value types that the program's windows and controls speak, free of any toolkit.
//
// Sizes and positions, font heights and row heights among them, are in the units of the design,
// which are pixels at 96 DPI; the toolkit shows them at the screen's scale:
// - Win32: the window layer converts them to the pixels of the window's DPI (that of its
//   monitor, or the system's before Windows 10), so that at 144 DPI a size of 2 is 3 pixels.
// - Qt: they are Qt's device-independent pixels, which Qt itself scales by the screen's device
//   pixel ratio (QT_SCALE_FACTOR, the desktop's scale).
// Screen coordinates, where a popup menu opens, are the desktop's own: the screen's pixels on
// Windows, device-independent pixels with Qt.

class TObject {
public:
    virtual ~TObject() = default;
};

// An event handler; Sender is the object that fired it. Empty means unassigned.
using TNotifyEvent = std::function<void(TObject* sender)>;

struct TPoint {
    int X = 0;
    int Y = 0;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

enum class TMouseButton { Left, Right, Middle };

// Modifier keys and mouse buttons held during an input event.
enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
};
using TShiftState = unsigned;

struct TFont {
    std::string Name;    // family name, in the narrow encoding
    int PixelHeight = 0; // character height in units; 0 keeps the toolkit's default
    bool operator==(const TFont&) const = default;
};
