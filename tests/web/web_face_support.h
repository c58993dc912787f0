#pragma once

// Reading the page's answers (web/app/web_face.h) in tests.

#include <string>

// Whether the answer asks the user `question` ("overwrite", "importOver", ...) first.
inline bool Asks(const std::string& answer, const std::string& question) {
    return answer.find("\"ask\":\"" + question + '"') != std::string::npos;
}

inline bool HasErrors(const std::string& answer) {
    return answer.find("\"errors\":[]") == std::string::npos;
}
