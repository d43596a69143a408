// TMemoryStream: reading, writing and seeking in a byte vector; loading from and saving to files and streams.
#include "platform/classes/TMemoryStream.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TFileStream.h"

#include <algorithm>
#include <cstring>

namespace korvex::classes {

TClass TMemoryStream::StaticClass() {
    static const TClassInfo info = MakeClass<TMemoryStream, TStream>("TMemoryStream");
    return &info;
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
    std::int64_t size = Size();
    if (count <= 0 || FPosition >= size) return 0;
    std::int64_t n = std::min(count, size - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
    return WriteIntoBytes(FData, FPosition, buffer, count);
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? FPosition : Size();
    std::int64_t position = base + offset;
    if (position < 0) return -1;
    FPosition = position;
    return FPosition;
}

void TMemoryStream::SetSize(std::int64_t newSize) {
    if (newSize < 0) throw EStreamError("Stream cannot change its size");
    FData.resize(static_cast<std::size_t>(newSize));
    FPosition = std::min(FPosition, newSize);
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    std::int64_t size = stream.Size();
    std::vector<std::uint8_t> data(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
    if (size > 0) stream.ReadBuffer(data.data(), size);
    FData.swap(data);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TMemoryStream::SaveToStream(TStream& stream) const {
    stream.WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

}
