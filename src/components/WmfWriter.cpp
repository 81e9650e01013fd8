#include "components/WmfWriter.h"

#include <algorithm>
#include <cctype>
#include <cstddef>

namespace probex {

namespace {

// Record functions of the 16-bit metafile format.
constexpr std::uint16_t MetaEof = 0x0000;
constexpr std::uint16_t MetaSetBkMode = 0x0102;
constexpr std::uint16_t MetaSetPolyFillMode = 0x0106;
constexpr std::uint16_t MetaSetTextAlign = 0x012E;
constexpr std::uint16_t MetaSelectObject = 0x012D;
constexpr std::uint16_t MetaDeleteObject = 0x01F0;
constexpr std::uint16_t MetaSetTextColor = 0x0209;
constexpr std::uint16_t MetaSetWindowOrg = 0x020B;
constexpr std::uint16_t MetaSetWindowExt = 0x020C;
constexpr std::uint16_t MetaLineTo = 0x0213;
constexpr std::uint16_t MetaMoveTo = 0x0214;
constexpr std::uint16_t MetaCreatePenIndirect = 0x02FA;
constexpr std::uint16_t MetaCreateFontIndirect = 0x02FB;
constexpr std::uint16_t MetaCreateBrushIndirect = 0x02FC;
constexpr std::uint16_t MetaPolygon = 0x0324;
constexpr std::uint16_t MetaPolyline = 0x0325;
constexpr std::uint16_t MetaEllipse = 0x0418;
constexpr std::uint16_t MetaRectangle = 0x041B;
constexpr std::uint16_t MetaTextOut = 0x0521;
constexpr std::uint16_t MetaStretchDib = 0x0F43;

constexpr std::uint16_t Transparent = 1;
constexpr std::uint16_t Alternate = 1;
constexpr std::uint16_t TextAlignBaseline = 24;
constexpr std::uint32_t SourceCopy = 0x00CC0020;
constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr std::size_t HeaderWords = 9;

std::uint16_t Coord(std::int64_t v) {
    return static_cast<std::uint16_t>(
        static_cast<std::int16_t>(std::clamp<std::int64_t>(v, -32768, 32767)));
}

void PushWord(std::vector<std::uint16_t>& words, std::uint32_t v) {
    words.push_back(static_cast<std::uint16_t>(v & 0xFFFF));
}

void PushDword(std::vector<std::uint16_t>& words, std::uint32_t v) {
    words.push_back(static_cast<std::uint16_t>(v & 0xFFFF));
    words.push_back(static_cast<std::uint16_t>(v >> 16));
}

/// Bytes packed two to a word, low byte first, padded with a zero byte to a whole word.
void PushBytes(std::vector<std::uint16_t>& words, std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto lo = static_cast<std::uint8_t>(bytes[i]);
        const auto hi = i + 1 < bytes.size() ? static_cast<std::uint8_t>(bytes[i + 1]) : 0;
        words.push_back(static_cast<std::uint16_t>(lo | (hi << 8)));
    }
}

void PushPoints(std::vector<std::uint16_t>& words, const std::vector<WmfPoint>& points) {
    for (const WmfPoint& p : points) {
        words.push_back(Coord(p.x));
        words.push_back(Coord(p.y));
    }
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

} // namespace

std::string WindowsFontFace(std::string_view family) {
    static constexpr std::string_view WindowsFaces[] = {
        "Arial",           "Arial Black",  "Calibri",    "Cambria",        "Candara",
        "Comic Sans MS",   "Consolas",     "Constantia", "Corbel",         "Courier New",
        "Georgia",         "Impact",       "Segoe UI",   "Symbol",         "Tahoma",
        "Times New Roman", "Trebuchet MS", "Verdana",    "Lucida Console", "Wingdings",
    };
    const std::string lower = Lower(family);
    for (std::string_view face : WindowsFaces)
        if (Lower(face) == lower) return std::string(face);
    const auto has = [&lower](const char* part) { return lower.find(part) != std::string::npos; };
    if (has("mono") || has("courier") || has("fixed") || has("typewriter")) return "Courier New";
    if ((has("serif") && !has("sans")) || has("times") || has("roman")) return "Times New Roman";
    return "Arial";
}

TWmfWriter::TWmfWriter(int width, int height, int unitsPerInch)
    : m_width(std::clamp(width, 1, 32767)), m_height(std::clamp(height, 1, 32767)),
      m_unitsPerInch(std::clamp(unitsPerInch, 1, 32767)) {
    record(MetaSetWindowOrg, {0, 0});
    record(MetaSetWindowExt, {Coord(m_height), Coord(m_width)});
    record(MetaSetBkMode, {Transparent});
    record(MetaSetPolyFillMode, {Alternate});
    record(MetaSetTextAlign, {TextAlignBaseline});
}

void TWmfWriter::record(std::uint16_t function, const std::vector<std::uint16_t>& params) {
    const auto size = static_cast<std::uint32_t>(3 + params.size());
    PushDword(m_records, size);
    m_records.push_back(function);
    m_records.insert(m_records.end(), params.begin(), params.end());
    m_maxRecordWords = std::max(m_maxRecordWords, size);
}

int TWmfWriter::freeIndex() const {
    for (int index = 0;; ++index)
        if (std::find(std::begin(m_slotIndex), std::end(m_slotIndex), index) ==
            std::end(m_slotIndex))
            return index;
}

void TWmfWriter::replaceObject(ObjectSlot slot, std::uint16_t createFunction,
                               const std::vector<std::uint16_t>& params) {
    // A new object takes the lowest free index of the table; the replaced one is deleted only
    // after the new one is selected, so the device context never holds a deleted object.
    const int index = freeIndex();
    record(createFunction, params);
    record(MetaSelectObject, {static_cast<std::uint16_t>(index)});
    const int old = m_slotIndex[slot];
    m_slotIndex[slot] = index;
    if (old >= 0) record(MetaDeleteObject, {static_cast<std::uint16_t>(old)});
    m_objectsEverHeld = std::max(m_objectsEverHeld, index + 1);
}

void TWmfWriter::setPen(PenStyle style, int width, WmfColor color) {
    std::vector<std::uint16_t> params{static_cast<std::uint16_t>(style), Coord(width), 0};
    PushDword(params, color);
    replaceObject(PenSlot, MetaCreatePenIndirect, params);
}

void TWmfWriter::setBrush(bool solid, WmfColor color) {
    std::vector<std::uint16_t> params{static_cast<std::uint16_t>(solid ? 0 : 1)};
    PushDword(params, color);
    params.push_back(0);
    replaceObject(BrushSlot, MetaCreateBrushIndirect, params);
}

void TWmfWriter::setFont(std::string_view face, int heightPixels, int weight, bool italic,
                         int escapement) {
    // A negative height asks for that character height rather than that cell height.
    std::vector<std::uint16_t> params{Coord(-std::max(heightPixels, 1)), 0, Coord(escapement),
                                      Coord(escapement), Coord(weight)};
    PushWord(params, italic ? 1u : 0u); // italic, underline
    PushWord(params, 0);                // strike-out, character set ANSI
    PushWord(params, 0);                // output and clip precision
    PushWord(params, 0);                // quality, pitch and family
    std::string name = WindowsFontFace(face).substr(0, 31);
    name.push_back('\0');
    PushBytes(params, name);
    replaceObject(FontSlot, MetaCreateFontIndirect, params);
}

void TWmfWriter::setTextColor(WmfColor color) {
    std::vector<std::uint16_t> params;
    PushDword(params, color);
    record(MetaSetTextColor, params);
}

void TWmfWriter::moveTo(WmfPoint p) {
    record(MetaMoveTo, {Coord(p.y), Coord(p.x)});
}

void TWmfWriter::lineTo(WmfPoint p) {
    record(MetaLineTo, {Coord(p.y), Coord(p.x)});
}

void TWmfWriter::polyline(const std::vector<WmfPoint>& points) {
    if (points.size() < 2) return;
    // A record holds at most 32767 points; longer lines continue from the last point.
    for (std::size_t start = 0; start + 1 < points.size(); start += 32766) {
        const std::size_t end = std::min(points.size(), start + 32767);
        std::vector<WmfPoint> part(points.begin() + static_cast<std::ptrdiff_t>(start),
                                   points.begin() + static_cast<std::ptrdiff_t>(end));
        std::vector<std::uint16_t> params{static_cast<std::uint16_t>(part.size())};
        PushPoints(params, part);
        record(MetaPolyline, params);
    }
}

void TWmfWriter::polygon(const std::vector<WmfPoint>& points) {
    if (points.size() < 2) return;
    const std::size_t count = std::min<std::size_t>(points.size(), 32767);
    std::vector<std::uint16_t> params{static_cast<std::uint16_t>(count)};
    PushPoints(params, std::vector<WmfPoint>(points.begin(),
                                             points.begin() + static_cast<std::ptrdiff_t>(count)));
    record(MetaPolygon, params);
}

void TWmfWriter::rectangle(int left, int top, int right, int bottom) {
    record(MetaRectangle, {Coord(bottom), Coord(right), Coord(top), Coord(left)});
}

void TWmfWriter::ellipse(int left, int top, int right, int bottom) {
    record(MetaEllipse, {Coord(bottom), Coord(right), Coord(top), Coord(left)});
}

void TWmfWriter::textOut(WmfPoint p, std::string_view text) {
    if (text.empty()) return;
    text = text.substr(0, 32767);
    std::vector<std::uint16_t> params{static_cast<std::uint16_t>(text.size())};
    PushBytes(params, text);
    params.push_back(Coord(p.y));
    params.push_back(Coord(p.x));
    record(MetaTextOut, params);
}

void TWmfWriter::stretchPicture(int left, int top, int right, int bottom, int width, int height,
                                const std::vector<std::uint32_t>& rgb) {
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767 ||
        rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    std::string dib;
    dib.reserve(40 + stride * static_cast<std::size_t>(height));
    const auto put = [&dib](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            dib.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    put(40, 4); // the size of the information header
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4); // positive: the bottom row comes first
    put(1, 2);
    put(24, 2);
    put(0, 4); // no compression
    put(static_cast<std::uint32_t>(stride * static_cast<std::size_t>(height)), 4);
    put(3780, 4); // 96 pixels per inch, in pixels per metre
    put(3780, 4);
    put(0, 4);
    put(0, 4);
    for (int row = height - 1; row >= 0; --row) {
        for (int col = 0; col < width; ++col) {
            const std::uint32_t pixel = rgb[static_cast<std::size_t>(row) * width + col];
            dib.push_back(static_cast<char>(pixel & 0xFF));         // blue
            dib.push_back(static_cast<char>((pixel >> 8) & 0xFF));  // green
            dib.push_back(static_cast<char>((pixel >> 16) & 0xFF)); // red
        }
        dib.append(stride - static_cast<std::size_t>(width) * 3, '\0');
    }
    std::vector<std::uint16_t> params;
    PushDword(params, SourceCopy);
    params.push_back(0); // the colours are RGB values
    params.push_back(Coord(height));
    params.push_back(Coord(width));
    params.push_back(0);
    params.push_back(0);
    params.push_back(Coord(bottom - top));
    params.push_back(Coord(right - left));
    params.push_back(Coord(top));
    params.push_back(Coord(left));
    PushBytes(params, dib);
    record(MetaStretchDib, params);
}

std::vector<std::uint8_t> TWmfWriter::bytes() const {
    std::vector<std::uint16_t> words;
    // The placeable header: key, handle, bounding box, units per inch, reserved, checksum.
    PushDword(words, PlaceableKey);
    words.push_back(0);
    words.push_back(0);
    words.push_back(0);
    words.push_back(Coord(m_width));
    words.push_back(Coord(m_height));
    words.push_back(static_cast<std::uint16_t>(m_unitsPerInch));
    PushDword(words, 0);
    std::uint16_t checksum = 0;
    for (std::uint16_t w : words)
        checksum ^= w;
    words.push_back(checksum);

    const auto totalWords = static_cast<std::uint32_t>(HeaderWords + m_records.size() + 3);
    words.push_back(1); // a metafile in memory
    words.push_back(static_cast<std::uint16_t>(HeaderWords));
    words.push_back(0x0300);
    PushDword(words, totalWords);
    words.push_back(static_cast<std::uint16_t>(m_objectsEverHeld));
    PushDword(words, m_maxRecordWords);
    words.push_back(0);

    words.insert(words.end(), m_records.begin(), m_records.end());
    PushDword(words, 3);
    words.push_back(MetaEof);

    std::vector<std::uint8_t> out;
    out.reserve(words.size() * 2);
    for (std::uint16_t w : words) {
        out.push_back(static_cast<std::uint8_t>(w & 0xFF));
        out.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    return out;
}

} // namespace probex
