// TStringStream: a stream over a string.
#include "platform/classes/TStringStream.h"

#include "platform/classes/PropertyRegistry.h"

#include <algorithm>
#include <cstring>

namespace korvex::classes {

TStringStream::TStringStream(std::string data)
    : FData(std::move(data)) {
}

TClass TStringStream::StaticClass() {
    static const TClassInfo info = MakeClass<TStringStream, TStream>("TStringStream");
    return &info;
}

std::int64_t TStringStream::Read(void* buffer, std::int64_t count) {
    std::int64_t n = std::clamp<std::int64_t>(Size() - FPosition, 0, std::max<std::int64_t>(count, 0));
    if (n > 0) std::memcpy(buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

std::int64_t TStringStream::Write(const void* buffer, std::int64_t count) {
    return WriteIntoBytes(FData, FPosition, buffer, count);
}

std::int64_t TStringStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? FPosition : Size();
    FPosition = std::clamp<std::int64_t>(base + offset, 0, Size());
    return FPosition;
}

void TStringStream::SetSize(std::int64_t newSize) {
    FData.resize(static_cast<std::size_t>(std::max<std::int64_t>(newSize, 0)));
    FPosition = std::min(FPosition, Size());
}

std::string TStringStream::ReadString(std::int64_t count) {
    std::int64_t n = std::clamp<std::int64_t>(Size() - FPosition, 0, std::max<std::int64_t>(count, 0));
    std::string result = FData.substr(static_cast<std::size_t>(FPosition), static_cast<std::size_t>(n));
    FPosition += n;
    return result;
}

void TStringStream::WriteString(const std::string& s) {
    Write(s.data(), static_cast<std::int64_t>(s.size()));
}

}
