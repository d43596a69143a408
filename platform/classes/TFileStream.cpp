// TFileStream: the os layer's file behind the TStream interface.
#include "platform/classes/TFileStream.h"

#include "platform/classes/PropertyRegistry.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace korvex::classes {

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode)
    : FFile(fileName, mode) {
}

TClass TFileStream::StaticClass() {
    static const TClassInfo info = MakeClass<TFileStream, TStream>("TFileStream");
    return &info;
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    std::int64_t n = FFile.Read(buffer, count);
    return n < 0 ? 0 : n;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    std::int64_t n = FFile.Write(buffer, count);
    return n < 0 ? 0 : n;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    return FFile.Seek(offset, origin);
}

std::int64_t TFileStream::Size() {
    return FFile.Size();
}

void TFileStream::SetSize(std::int64_t newSize) {
    if (newSize < 0 || ::ftruncate(FFile.Handle(), newSize) != 0)
        throw EStreamError("Cannot set the size of " + FFile.FileName() + ": " + std::strerror(errno));
    if (FFile.Position() > newSize) FFile.Seek(newSize, TSeekOrigin::soBeginning);
}

}
