#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

// Little-endian reads from a fixed-size image of a recorder file. Every read is bounded
// by the image: bytes beyond its end read as zero, whatever offset the caller asks for.
class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> image, std::size_t pos = 0)
        : m_image(image), m_pos(pos) {}

    std::size_t pos() const { return m_pos; }
    void seek(std::size_t pos) { m_pos = pos; }
    void skip(std::size_t count) { m_pos = count > SIZE_MAX - m_pos ? SIZE_MAX : m_pos + count; }

    std::uint8_t u8() {
        const std::uint8_t v = at(m_pos);
        skip(1);
        return v;
    }
    std::uint16_t u16le() {
        const std::uint16_t v = static_cast<std::uint16_t>(at(m_pos) | (at(m_pos, 1) << 8));
        skip(2);
        return v;
    }
    // Text of at most `width` bytes, ending before the first zero byte; Latin-1.
    QString text(std::size_t width) {
        QString out;
        for (std::size_t i = 0; i < width; ++i) {
            const std::uint8_t c = at(m_pos, i);
            if (c == 0)
                break;
            out.append(QChar(static_cast<char16_t>(c)));
        }
        skip(width);
        return out;
    }

private:
    // The byte `delta` after `base`; zero outside the image (the sum is never formed when it
    // could wrap round).
    std::uint8_t at(std::size_t base, std::size_t delta = 0) const {
        if (base >= m_image.size() || delta >= m_image.size() - base)
            return 0;
        return m_image[base + delta];
    }

    std::span<const std::uint8_t> m_image;
    std::size_t m_pos;
};
