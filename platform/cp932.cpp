#include "platform/cp932.h"

#ifdef _WIN32
#include <windows.h>

#include <utility>
#else
#include <iconv.h>
#endif

namespace tosbel {

#ifdef _WIN32

namespace {

std::optional<std::wstring> toWide(std::string_view in, UINT codePage) {
    if (in.empty()) return std::wstring();
    const int size = static_cast<int>(in.size());
    const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), size, wide.data(), n);
    return wide;
}

std::optional<std::string> fromWide(const std::wstring& wide, UINT codePage) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    BOOL lossy = FALSE;
    // Code page 932 must not substitute a look-alike for a character it lacks.
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* lossyOut = codePage == CP_UTF8 ? nullptr : &lossy;
    const int n =
        WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, lossyOut);
    if (n <= 0 || lossy) return std::nullopt;
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

// Characters that input methods on other systems type for the ones code page
// 932 holds; iconv takes them the same way, so a roster is written alike on
// every system.
constexpr std::pair<wchar_t, wchar_t> kCp932Forms[] = {
    {0x301C, 0xFF5E},  // wave dash
    {0x2016, 0x2225},  // double vertical line
    {0x2212, 0xFF0D},  // minus sign
    {0x2014, 0x2015},  // em dash
    {0x00A2, 0xFFE0},  // cent sign
    {0x00A3, 0xFFE1},  // pound sign
    {0x00AC, 0xFFE2},  // not sign
    {0x00A5, L'\\'},   // yen sign: 0x5C shows as one on Japanese systems
    {0x203E, L'~'},    // overline: 0x7E shows as one on Japanese systems
};

void toCp932Forms(std::wstring& text) {
    for (auto& c : text) {
        for (const auto& [typed, held] : kCp932Forms) {
            if (c == typed) c = held;
        }
    }
}

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Windows gives a character to the single bytes 0x80, 0xA0 and 0xFD to 0xFF (and
// takes them back), which iconv refuses; a file written here must read the same
// on every system, so they are refused here too. A lead byte with nothing after
// it is refused as well.
bool onlyIconvBytes(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (isLeadByte(b)) {
            if (++i == bytes.size()) return false;
        } else if (b == 0x80 || b == 0xA0 || b >= 0xFD) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> convert(std::string_view in, UINT from, UINT to) {
    if (from == 932 && !onlyIconvBytes(in)) return std::nullopt;
    auto wide = toWide(in, from);
    if (!wide) return std::nullopt;
    if (to == 932) toCp932Forms(*wide);
    auto out = fromWide(*wide, to);
    if (to == 932 && out && !onlyIconvBytes(*out)) return std::nullopt;
    return out;
}

}  // namespace

std::optional<std::string> cp932ToUtf8(std::string_view bytes) {
    return convert(bytes, 932, CP_UTF8);
}
std::optional<std::string> utf8ToCp932(std::string_view text) {
    return convert(text, CP_UTF8, 932);
}

#else

namespace {

// One converter per direction for the life of the thread: opening one costs
// far more than converting a name, and the program converts name by name.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (usable()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> operator()(std::string_view in) {
        if (!usable()) return std::nullopt;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        std::string out;
        // Neither direction more than triples the length: a half-width katakana
        // is one byte in code page 932 and three in UTF-8.
        out.resize(in.size() * 3 + 4);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char* dst = out.data();
        size_t dstLeft = out.size();
        const size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
        // An invalid sequence (EILSEQ), a truncated one at the end (EINVAL), or a
        // character the target cannot hold: the text is refused whole.
        if (rc == static_cast<size_t>(-1) || srcLeft != 0) return std::nullopt;
        out.resize(out.size() - dstLeft);
        return out;
    }

private:
    bool usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_;
};

}  // namespace

std::optional<std::string> cp932ToUtf8(std::string_view bytes) {
    thread_local Converter convert("UTF-8", "CP932");
    return convert(bytes);
}
std::optional<std::string> utf8ToCp932(std::string_view text) {
    thread_local Converter convert("CP932", "UTF-8");
    return convert(text);
}

#endif

std::optional<std::size_t> cp932ByteLength(std::string_view text) {
    const auto bytes = utf8ToCp932(text);
    if (!bytes) return std::nullopt;
    return bytes->size();
}

}  // namespace tosbel
