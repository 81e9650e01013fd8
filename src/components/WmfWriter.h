#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace probex {

/// A colour as the metafile stores it: 0x00BBGGRR.
using WmfColor = std::uint32_t;

constexpr WmfColor WmfRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<WmfColor>(r) | (static_cast<WmfColor>(g) << 8) |
           (static_cast<WmfColor>(b) << 16);
}

struct WmfPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

/// A face that Windows has for a font family: the family itself when it is one of the faces
/// Windows ships (compared ignoring case), else "Courier New" for a monospaced family, "Times
/// New Roman" for a serif one and "Arial" for the rest ("Sans Serif", "DejaVu Sans"). Windows
/// would put a face of its own choosing in place of a name it does not know.
std::string WindowsFontFace(std::string_view family);

/// Builds a placeable Windows metafile (the 16-bit format with its 22-byte header that drawing
/// and office programs open) from drawing calls in logical units, one unit a pixel of a
/// picture `width` x `height` at `unitsPerInch`. Coordinates outside the 16-bit range are
/// clamped. Every pen, brush and font is created when selected and deleted when replaced, so
/// the object table never holds more than three objects.
class TWmfWriter {
public:
    TWmfWriter(int width, int height, int unitsPerInch = 96);

    enum class PenStyle : std::uint16_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, Null = 5 };

    void setPen(PenStyle style, int width, WmfColor color);
    /// A solid brush, or no fill at all.
    void setBrush(bool solid, WmfColor color);
    /// The face is written as WindowsFontFace names it. heightPixels is the characters' height;
    /// weight 400 normal, 700 bold; the baseline turned counter-clockwise by escapement tenths of a
    /// degree.
    void setFont(std::string_view face, int heightPixels, int weight, bool italic,
                 int escapement = 0);
    void setTextColor(WmfColor color);

    void moveTo(WmfPoint p);
    void lineTo(WmfPoint p);
    void polyline(const std::vector<WmfPoint>& points);
    void polygon(const std::vector<WmfPoint>& points);
    void rectangle(int left, int top, int right, int bottom);
    void ellipse(int left, int top, int right, int bottom);
    /// Text with its baseline's left end at p; the bytes are taken as Windows-1252.
    void textOut(WmfPoint p, std::string_view text);
    /// A 24-bit picture stretched over the rectangle; rgb holds width*height pixels, top row
    /// first, 0x00RRGGBB each.
    void stretchPicture(int left, int top, int right, int bottom, int width, int height,
                        const std::vector<std::uint32_t>& rgb);

    /// The whole file: placeable header, metafile header, the records and the end record.
    std::vector<std::uint8_t> bytes() const;

private:
    enum ObjectSlot { PenSlot, BrushSlot, FontSlot, SlotCount };

    void record(std::uint16_t function, const std::vector<std::uint16_t>& params);
    void replaceObject(ObjectSlot slot, std::uint16_t createFunction,
                       const std::vector<std::uint16_t>& params);
    int freeIndex() const;

    int m_width;
    int m_height;
    int m_unitsPerInch;
    std::vector<std::uint16_t> m_records; ///< the records, as 16-bit words
    std::uint32_t m_maxRecordWords = 3;   ///< the end record at least
    int m_slotIndex[SlotCount] = {-1, -1, -1};
    int m_objectsEverHeld = 0;
};

} // namespace probex
