// Bounds-checked little-endian reader over a byte span; every read says whether it fit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quintrel::wmf {

class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t offset() const { return m_offset; }
    std::size_t remaining() const { return m_bytes.size() - m_offset; }
    bool atEnd() const { return m_offset == m_bytes.size(); }

    bool skip(std::size_t count) {
        if (count > remaining()) {
            return false;
        }
        m_offset += count;
        return true;
    }

    bool readU16(std::uint16_t& out) {
        if (remaining() < 2) {
            return false;
        }
        out = static_cast<std::uint16_t>(m_bytes[m_offset] | (m_bytes[m_offset + 1] << 8));
        m_offset += 2;
        return true;
    }

    bool readI16(std::int16_t& out) {
        std::uint16_t word = 0;
        if (!readU16(word)) {
            return false;
        }
        out = static_cast<std::int16_t>(word);
        return true;
    }

    bool readU32(std::uint32_t& out) {
        std::uint16_t low = 0;
        std::uint16_t high = 0;
        if (remaining() < 4 || !readU16(low) || !readU16(high)) {
            return false;
        }
        out = static_cast<std::uint32_t>(low) | (static_cast<std::uint32_t>(high) << 16);
        return true;
    }

  private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
};

// The same for the parameter words of one record.
class WordReader {
  public:
    explicit WordReader(std::span<const std::uint16_t> words) : m_words(words) {}

    std::size_t remaining() const { return m_words.size() - m_index; }

    bool readU16(std::uint16_t& out) {
        if (remaining() < 1) {
            return false;
        }
        out = m_words[m_index++];
        return true;
    }

    bool readI16(std::int16_t& out) {
        std::uint16_t word = 0;
        if (!readU16(word)) {
            return false;
        }
        out = static_cast<std::int16_t>(word);
        return true;
    }

    // Several signed words in a row; false (and nothing read) when they do not all fit.
    bool readI16s(std::span<std::int16_t> out) {
        if (remaining() < out.size()) {
            return false;
        }
        for (std::int16_t& value : out) {
            value = static_cast<std::int16_t>(m_words[m_index++]);
        }
        return true;
    }

    bool readU32(std::uint32_t& out) {
        if (remaining() < 2) {
            return false;
        }
        out = static_cast<std::uint32_t>(m_words[m_index]) |
              (static_cast<std::uint32_t>(m_words[m_index + 1]) << 16);
        m_index += 2;
        return true;
    }

    // Reads `count` bytes packed two to a word (low byte first); a trailing odd byte's pad
    // byte is consumed too.
    template <typename Out>
    bool readBytes(std::size_t count, Out& out) {
        const std::size_t words = (count + 1) / 2;
        if (words > remaining()) {
            return false;
        }
        out.clear();
        out.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint16_t word = m_words[m_index + i / 2];
            out.push_back(static_cast<char>((i % 2 == 0) ? (word & 0xFF) : (word >> 8)));
        }
        m_index += words;
        return true;
    }

  private:
    std::span<const std::uint16_t> m_words;
    std::size_t m_index = 0;
};

}  // namespace quintrel::wmf
