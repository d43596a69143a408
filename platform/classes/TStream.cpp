// TStream: size by seeking, the all-or-nothing buffer calls and stream copying.
#include "platform/classes/TStream.h"

#include "platform/classes/PropertyRegistry.h"

#include <algorithm>
#include <vector>

namespace korvex::classes {

TClass TStream::StaticClass() {
    static const TClassInfo info = MakeClass<TStream, TObject>("TStream");
    return &info;
}

std::int64_t TStream::Size() {
    std::int64_t position = Seek(0, TSeekOrigin::soCurrent);
    std::int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(position, TSeekOrigin::soBeginning);
    return size;
}

void TStream::SetSize(std::int64_t) {
    throw EStreamError("Stream cannot change its size");
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
    if (count < 0 || (count > 0 && Read(buffer, count) != count)) throw os::EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
    if (count < 0 || (count > 0 && Write(buffer, count) != count)) throw os::EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    constexpr std::int64_t chunk = 64 * 1024;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::clamp<std::int64_t>(count, 1, chunk)));
    std::int64_t left = count;
    while (left > 0) {
        std::int64_t n = std::min(left, chunk);
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

}
