#pragma once

#include <functional>
#include <string>

// Small value types that the program's windows and controls speak, free of any toolkit.

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

enum class TAlign { None, Top, Bottom, Left, Right, Client };

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
    int PixelHeight = 0; // character height in pixels; 0 keeps the toolkit's default
    bool operator==(const TFont&) const = default;
};
