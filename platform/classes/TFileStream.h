// TFileStream: a file as a TStream, over the os layer's file with its open modes and errors.
#pragma once

#include "platform/classes/TStream.h"
#include "platform/os/FileStream.h"

#include <string>

namespace korvex::classes {

using os::fmCreate;
using os::fmOpenRead;
using os::fmOpenReadWrite;
using os::fmOpenWrite;
using os::fmShareCompat;
using os::fmShareDenyNone;
using os::fmShareDenyRead;
using os::fmShareDenyWrite;
using os::fmShareExclusive;

// Raises os::EFCreateError (fmCreate) or os::EFOpenError when the file cannot be opened.
class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, std::uint16_t mode);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    std::int64_t Read(void* buffer, std::int64_t count) override;   // 0 on an error
    std::int64_t Write(const void* buffer, std::int64_t count) override;   // 0 on an error
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override;
    void SetSize(std::int64_t newSize) override;   // truncates or extends; raises EStreamError on failure

    const std::string& FileName() const { return FFile.FileName(); }
    os::TFileStream& File() { return FFile; }

private:
    os::TFileStream FFile;
};

}
