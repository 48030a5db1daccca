#pragma once
// A small, independent builder of fixed-record file bytes for the file
// format tests: little-endian values at the start of their records, zero
// tails, Strings as a 2-byte length and the UTF-8 bytes.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tarvolin::testbytes {

class Records {
public:
    explicit Records(int length) : length_(length) {}

    Records& i16(int k, std::int16_t v) { return le(k, static_cast<std::uint16_t>(v), 2); }
    Records& i32(int k, std::int32_t v) { return le(k, static_cast<std::uint32_t>(v), 4); }
    // A Currency given as value x 10000.
    Records& money(int k, std::int64_t raw) { return le(k, static_cast<std::uint64_t>(raw), 8); }
    Records& boolean(int k, bool v) { return i16(k, v ? -1 : 0); }
    Records& u8(int k, std::uint8_t v) { return le(k, v, 1); }
    Records& str(int k, const std::string& s) {
        unsigned char* r = rec(k);
        r[0] = static_cast<unsigned char>(s.size() & 0xff);
        r[1] = static_cast<unsigned char>(s.size() >> 8);
        for (std::size_t i = 0; i < s.size(); ++i) r[2 + i] = static_cast<unsigned char>(s[i]);
        return *this;
    }
    // Raw bytes at the start of record k (a damaged length word, say).
    Records& raw(int k, std::vector<unsigned char> bytes) {
        unsigned char* r = rec(k);
        for (std::size_t i = 0; i < bytes.size(); ++i) r[i] = bytes[i];
        return *this;
    }

    const std::string& bytes() const { return bytes_; }
    std::string& bytes() { return bytes_; }
    int length() const { return length_; }

private:
    unsigned char* rec(int k) {
        const std::size_t end = static_cast<std::size_t>(k) * static_cast<std::size_t>(length_);
        if (bytes_.size() < end) bytes_.resize(end, '\0');
        return reinterpret_cast<unsigned char*>(&bytes_[end - static_cast<std::size_t>(length_)]);
    }
    Records& le(int k, std::uint64_t v, int n) {
        unsigned char* r = rec(k);
        for (int i = 0; i < n; ++i) r[i] = static_cast<unsigned char>(v >> (8 * i));
        return *this;
    }

    int length_;
    std::string bytes_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace tarvolin::testbytes
