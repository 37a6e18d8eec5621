#include "core/time/locale_picture.h"

namespace norvale {
namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

void AppendLiteral(std::string& out, char c) {
    if (IsAsciiLetter(c) || c == '/' || c == ':' || c == '"') {
        out += '\'';
        out += c;
        out += '\'';
    } else {
        out += c;
    }
}

// Maps one run of a picture letter to the format language; empty when the run is not a
// token of that kind of picture.
std::string Token(char letter, std::size_t run, bool time) {
    if (!time) {
        switch (letter) {
        case 'd':
            return std::string(run > 4 ? 4 : run, 'd');
        case 'M':
            return std::string(run > 4 ? 4 : run, 'm');
        case 'y':
            return run <= 2 ? "yy" : "yyyy";
        case 'g':
            return " "; // the era is not shown; keeps a token boundary
        default:
            return {};
        }
    }
    switch (letter) {
    case 'h':
    case 'H':
        return run >= 2 ? "hh" : "h";
    case 'm':
        return run >= 2 ? "nn" : "n";
    case 's':
        return run >= 2 ? "ss" : "s";
    case 't':
        return "ampm";
    default:
        return {};
    }
}

std::string Translate(std::string_view picture, std::string_view separator, char separatorToken,
                      bool time) {
    std::string out;
    for (std::size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == '\'') {
            // Quoted text; '' inside or outside quotes is a literal apostrophe.
            std::size_t j = i + 1;
            for (; j < picture.size(); ++j) {
                if (picture[j] == '\'') {
                    if (j + 1 < picture.size() && picture[j + 1] == '\'') {
                        out += "\"'\"";
                        ++j;
                        continue;
                    }
                    break;
                }
                AppendLiteral(out, picture[j]);
            }
            i = j + 1;
            continue;
        }
        if (!separator.empty() && picture.substr(i).starts_with(separator)) {
            out += separatorToken;
            i += separator.size();
            continue;
        }
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) {
            ++run;
        }
        const std::string token = IsAsciiLetter(c) ? Token(c, run, time) : std::string();
        if (!token.empty()) {
            out += token == " " ? std::string() : token;
            i += run;
        } else {
            AppendLiteral(out, c);
            ++i;
        }
    }
    return out;
}

} // namespace

std::string DatePictureToFormat(std::string_view picture, std::string_view dateSeparator) {
    return Translate(picture, dateSeparator, '/', false);
}

std::string TimePictureToFormat(std::string_view picture, std::string_view timeSeparator) {
    return Translate(picture, timeSeparator, ':', true);
}

} // namespace norvale
