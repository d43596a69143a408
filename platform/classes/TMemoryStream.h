// TMemoryStream: a stream over a growable block of memory, loaded from and saved to files and streams.
#pragma once

#include "platform/classes/TStream.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvex::classes {

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;   // grows; past the end fills zeros
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;   // any position >= 0
    std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }
    void SetSize(std::int64_t newSize) override;   // the position is clamped to the new size

    std::uint8_t* Memory() { return FData.data(); }
    const std::uint8_t* Memory() const { return FData.data(); }
    std::span<const std::uint8_t> Bytes() const { return FData; }
    void Clear();

    void LoadFromStream(TStream& stream);   // the whole stream, position 0 after
    void LoadFromFile(const std::string& fileName);   // raises os::EFOpenError
    void SaveToStream(TStream& stream) const;
    void SaveToFile(const std::string& fileName) const;   // raises os::EFCreateError

private:
    std::vector<std::uint8_t> FData;
    std::int64_t FPosition = 0;
};

}
