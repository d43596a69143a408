// Errors the run-time routines raise, named as the run-time library names them.
#pragma once

#include <stdexcept>
#include <string>

namespace korvex::base {

// Root of every error the run time raises; Message() is the text shown to the user.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message)
        : std::runtime_error(message) { }
    std::string Message() const { return what(); }
};

class EConvertError : public Exception {   // a text that is not a number, date or time
public:
    using Exception::Exception;
};

class EOverflow : public Exception {   // a number that does not fit its type
public:
    using Exception::Exception;
};

class EInOutError : public Exception {   // a file that cannot be opened, read or written
public:
    using Exception::Exception;
};

}
