// UTF-8 <-> Shift-JIS (CP932) at the database boundary, with iconv.
//
// Encoding accepts, besides CP932's own Unicode forms, the forms that the
// JIS tables (and so Linux input methods and fonts) use for the same
// characters: U+301C WAVE DASH is stored as 0x8160 like U+FF5E, and likewise
// the pairs in kJisToCp932 below. Decoding always gives CP932's own forms,
// so bytes read and written back are unchanged. A character CP932 cannot
// hold is an EncodingError naming it; nothing is dropped or replaced.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <iconv.h>

#include "db/fb.h"

namespace tolvane::db {

namespace {

struct JisPair {
    char32_t jis;
    char32_t cp932;
};

// JIS X 0208 mapping -> the code point CP932 maps the same bytes to.
constexpr JisPair kJisToCp932[] = {
    {0x301C, 0xFF5E},  // WAVE DASH -> FULLWIDTH TILDE (0x8160)
    {0x2016, 0x2225},  // DOUBLE VERTICAL LINE -> PARALLEL TO (0x8161)
    {0x2212, 0xFF0D},  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS (0x817C)
    {0x00A2, 0xFFE0},  // CENT SIGN -> FULLWIDTH CENT SIGN (0x8191)
    {0x00A3, 0xFFE1},  // POUND SIGN -> FULLWIDTH POUND SIGN (0x8192)
    {0x00AC, 0xFFE2},  // NOT SIGN -> FULLWIDTH NOT SIGN (0x81CA)
    {0x2014, 0x2015},  // EM DASH -> HORIZONTAL BAR (0x815C)
    {0x00A6, 0xFFE4},  // BROKEN BAR -> FULLWIDTH BROKEN BAR (0xFA55)
};

bool isAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// One iconv descriptor per direction, opened once per thread.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw EncodingError(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `in`; on failure returns false and sets `failedAt` to the
    // offset in `in` where conversion stopped.
    bool run(const char* in, size_t inLen, std::string& out, size_t& failedAt) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.resize(inLen * 2 + 16);
        char* src = const_cast<char*>(in);
        size_t srcLeft = inLen;
        size_t written = 0;
        for (;;) {
            char* dst = out.data() + written;
            size_t dstLeft = out.size() - written;
            size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            written = out.size() - dstLeft;
            if (r != static_cast<size_t>(-1)) {
                // Flush any shift state (none for these encodings, but be exact).
                dst = out.data() + written;
                dstLeft = out.size() - written;
                iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
                written = out.size() - dstLeft;
                out.resize(written);
                return true;
            }
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            failedAt = static_cast<size_t>(src - in);
            out.resize(written);
            return false;
        }
    }

private:
    iconv_t cd_;
};

Converter& encoder() {
    thread_local Converter c("CP932", "UTF-32LE");
    return c;
}

Converter& decoder() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

std::string hexBytes(std::string_view bytes) {
    std::string s;
    char buf[8];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%s0x%02X", s.empty() ? "" : " ", c);
        s += buf;
    }
    return s;
}

std::string utf8Of(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

// Strict UTF-8 decoding: no overlong forms, no surrogates, nothing above U+10FFFF.
std::vector<char32_t> decodeUtf8(std::string_view s) {
    std::vector<char32_t> cps;
    cps.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int len = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (c < 0x80) { len = 1; cp = c; }
        else if ((c & 0xE0) == 0xC0) { len = 2; cp = c & 0x1F; min = 0x80; }
        else if ((c & 0xF0) == 0xE0) { len = 3; cp = c & 0x0F; min = 0x800; }
        else if ((c & 0xF8) == 0xF0) { len = 4; cp = c & 0x07; min = 0x10000; }
        else len = 0;
        bool ok = len > 0 && i + len <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            const unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (cc & 0x3F);
        }
        if (ok && len > 1 && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (!ok)
            throw EncodingError("The text is not valid UTF-8 (bytes " +
                                hexBytes(s.substr(i, std::min<size_t>(4, s.size() - i))) + ")");
        cps.push_back(cp);
        i += len;
    }
    return cps;
}

}  // namespace

std::string toShiftJis(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    std::vector<char32_t> cps = decodeUtf8(utf8);
    std::vector<char32_t> original = cps;
    for (char32_t& cp : cps)
        for (const JisPair& p : kJisToCp932)
            if (cp == p.jis) { cp = p.cp932; break; }
    // UTF-32LE input: explicit byte order, independent of the host.
    std::string in;
    in.resize(cps.size() * 4);
    for (size_t k = 0; k < cps.size(); ++k) {
        const char32_t cp = cps[k];
        in[4 * k] = static_cast<char>(cp & 0xFF);
        in[4 * k + 1] = static_cast<char>((cp >> 8) & 0xFF);
        in[4 * k + 2] = static_cast<char>((cp >> 16) & 0xFF);
        in[4 * k + 3] = static_cast<char>((cp >> 24) & 0xFF);
    }
    std::string out;
    size_t failedAt = 0;
    if (!encoder().run(in.data(), in.size(), out, failedAt)) {
        const size_t index = std::min(failedAt / 4, original.size() - 1);
        const char32_t cp = original[index];
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
        throw EncodingError("The character \"" + utf8Of(cp) + "\" (" + code +
                            ") cannot be stored as Shift-JIS (CP932)");
    }
    return out;
}

std::string fromShiftJis(std::string_view sjis) {
    if (isAscii(sjis)) return std::string(sjis);
    std::string out;
    size_t failedAt = 0;
    if (!decoder().run(sjis.data(), sjis.size(), out, failedAt)) {
        throw EncodingError("The bytes " +
                            hexBytes(sjis.substr(failedAt, std::min<size_t>(2, sjis.size() - failedAt))) +
                            " are not valid Shift-JIS (CP932)");
    }
    return out;
}

}  // namespace tolvane::db
