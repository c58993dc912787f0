#pragma once

#include <stdexcept>
#include <string>

// Errors of the calculation and the settings file. Each carries the text that the
// window shows to the user (followed by "."), so only the view needs to catch them.
class ESimError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EIntOverflow : public ESimError {
public:
    EIntOverflow() : ESimError("整数のオーバーフロー") {}
};

class ERangeError : public ESimError {
public:
    ERangeError() : ESimError("範囲チェックエラー") {}
};

class EWriteError : public ESimError {
public:
    explicit EWriteError(const std::string& path) : ESimError(path + " に書き込めません") {}
};
