// Errors the class library raises: lists, components, the shell namespace, streaming and filing.
#pragma once

#include "platform/base/Exceptions.h"
#include "platform/os/FileStream.h"

#include <string>
#include <system_error>

namespace korvex::classes {

// Stream errors are the os layer's: short reads and writes raise os::EReadError "Stream read error" and
// os::EWriteError "Stream write error", opening files os::EFOpenError / os::EFCreateError.
using os::EFCreateError;
using os::EFOpenError;
using os::EStreamError;

class EListError : public base::Exception {   // "List index out of bounds (5)"
public:
    using Exception::Exception;
};
class EStringListError : public EListError {   // duplicates, operations not allowed on a sorted list
public:
    using EListError::EListError;
};
class EComponentError : public base::Exception {   // invalid or duplicate component names
public:
    using Exception::Exception;
};
class EInvalidCast : public base::Exception {   // "Invalid class typecast"
public:
    using Exception::Exception;
};
class EPropertyError : public base::Exception {   // "Property Width is read-only"
public:
    using Exception::Exception;
};
class EInvalidOperation : public base::Exception {
public:
    using Exception::Exception;
};

// A failed call of the shell namespace (the OLE error of its interfaces): the system's message for ErrorCode,
// an errno value.
class EOleError : public base::Exception {
public:
    using Exception::Exception;
};
class EOleSysError : public EOleError {
public:
    explicit EOleSysError(int errorCode)
        : EOleError(std::system_category().message(errorCode))
        , FErrorCode(errorCode) { }
    int ErrorCode() const { return FErrorCode; }

private:
    int FErrorCode = 0;
};

// Errors of reading and writing component text.
class EFilerError : public os::EStreamError {
public:
    using EStreamError::EStreamError;
};
// A form text that cannot be read. Message() is "Line <n>: <what>"; Line() is 0 when no line applies.
class EReadError : public EFilerError {
public:
    EReadError(int line, const std::string& what);
    int Line() const { return FLine; }
    const std::string& What() const { return FWhat; }

private:
    int FLine = 0;
    std::string FWhat;
};
class EClassNotFound : public EReadError {   // "Class TFoo not found"
public:
    using EReadError::EReadError;
};
class EFilerWriteError : public EFilerError {   // a component tree that cannot be written
public:
    using EFilerError::EFilerError;
};

}
