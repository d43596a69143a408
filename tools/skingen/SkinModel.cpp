// A skin being generated: sections, the packing of its pictures and the files of its skin folder.
#include "tools/skingen/SkinModel.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TMemoryStream.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <stdexcept>

namespace korvex::skingen {

using classes::TBitmap;

namespace {

constexpr TColor Hole = 0xFF00FF;
constexpr TColor SeeThrough = 0x808080;   // a clear pixel that is not a hole: grey, so no shift recolours it

void SetPixel(TBitmap& bmp, int x, int y, TColor c) {
    if (x < 0 || y < 0 || x >= bmp.Width() || y >= bmp.Height()) return;
    std::uint8_t* p = bmp.ScanLine(y) + 3 * x;
    p[0] = static_cast<std::uint8_t>(BlueOf(c));
    p[1] = static_cast<std::uint8_t>(GreenOf(c));
    p[2] = static_cast<std::uint8_t>(RedOf(c));
}

int Byte(float v) {
    return std::clamp(static_cast<int>(std::lround(v * 255.0f)), 0, 255);
}

void WriteFile(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}

TSectionSpec& TSectionSpec::Set(const std::string& key, const std::string& value) {
    for (auto& kv : FKeys)
        if (kv.first == key) {
            kv.second = value;
            return *this;
        }
    FKeys.emplace_back(key, value);
    return *this;
}

TSectionSpec& TSectionSpec::Set(const std::string& key, int value) {
    return Set(key, std::to_string(value));
}

TSectionSpec& TSectionSpec::SetBool(const std::string& key, bool value) {
    return Set(key, value ? "TRUE" : "FALSE");
}

const std::string* TSectionSpec::Find(const std::string& key) const {
    for (const auto& kv : FKeys)
        if (kv.first == key) return &kv.second;
    return nullptr;
}

std::string TPlacedImage::Value() const {
    return "# (" + std::to_string(Left) + "," + std::to_string(Top) + "," + std::to_string(Right) + ","
        + std::to_string(Bottom) + ") (" + std::to_string(ImageCount) + "," + std::to_string(MaskType) + ","
        + std::to_string(BorderWidth) + "," + std::to_string(StretchMode) + ")";
}

void PutPicture(
    TBitmap& bitmap, int x, int y, const TLayer& layer, const std::vector<bool>* holes, int maskType, int maskOffset) {
    for (int j = 0; j < layer.Height(); ++j)
        for (int i = 0; i < layer.Width(); ++i) {
            const TRgba& p = layer.At(i, j);
            const bool hole = holes != nullptr && !holes->empty()
                ? (*holes)[static_cast<std::size_t>(j * layer.Width() + i)]
                : p.A < 0.5f / 255.0f;
            TColor picture = Hole;
            int mask = 255;
            if (!hole) {
                if (p.A >= 0.5f / 255.0f) {
                    picture = static_cast<TColor>(Byte(p.R / p.A) | (Byte(p.G / p.A) << 8) | (Byte(p.B / p.A) << 16));
                    if (picture == Hole) picture = 0xFF00FE;   // never a hole by accident
                    mask = 255 - Byte(p.A);
                } else {
                    picture = SeeThrough;
                }
            }
            if (maskType == 0 && !hole && mask > 127) picture = Hole;
            SetPixel(bitmap, x + i, y + j, picture);
            if (maskType != 0) SetPixel(bitmap, x + i, y + j + maskOffset, static_cast<TColor>(mask * 0x010101));
        }
}

TSkinModel::TSkinModel(std::string name)
    : FName(std::move(name)) {
}
TSkinModel::~TSkinModel() = default;
TSkinModel::TSkinModel(TSkinModel&&) noexcept = default;
TSkinModel& TSkinModel::operator=(TSkinModel&&) noexcept = default;

TSectionSpec& TSkinModel::Section(const std::string& name) {
    for (auto& s : FSections)
        if (s.Name() == name) return s;
    FSections.emplace_back(name);
    return FSections.back();
}

const TSectionSpec* TSkinModel::FindSection(const std::string& name) const {
    for (const auto& s : FSections)
        if (s.Name() == name) return &s;
    return nullptr;
}

void TSkinModel::AddImage(TImageSpec image) {
    if (image.States.empty()) throw std::invalid_argument("image without states: " + image.Key);
    Section(image.Section).Set(image.Key, "#");   // keeps the key's place; the value comes with Pack
    FQueued.push_back(std::move(image));
}

void TSkinModel::Pack(int width) {
    struct Size {
        int W, H;
    };
    std::vector<Size> sizes;
    for (const TImageSpec& im : FQueued) {
        const int w = im.States.front().Width() * static_cast<int>(im.States.size());
        const int h = im.States.front().Height() * (im.MaskType != 0 ? 2 : 1);
        sizes.push_back({w, h});
        width = std::max(width, w);
    }
    // Tallest first, then in the order given: shelves of pictures one pixel apart.
    std::vector<std::size_t> order(FQueued.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return sizes[a].H > sizes[b].H; });
    std::vector<TPlacedImage> placed(FQueued.size());
    int x = 0, y = 0, shelf = 0;
    for (std::size_t index : order) {
        const Size s = sizes[index];
        if (x + s.W > width) {
            x = 0;
            y += shelf + 1;
            shelf = 0;
        }
        const TImageSpec& im = FQueued[index];
        placed[index] = {im.Section, im.Key, x, y, x + s.W, y + s.H, static_cast<int>(im.States.size()), im.MaskType,
            im.BorderWidth, im.StretchMode};
        x += s.W + 1;
        shelf = std::max(shelf, s.H);
    }
    const int height = y + shelf;

    FMaster = std::make_unique<TBitmap>();
    FMaster->SetPixelFormat(classes::pf24bit);
    FMaster->SetSize(width, std::max(height, 1));
    for (int j = 0; j < FMaster->Height(); ++j)
        for (int i = 0; i < width; ++i)
            SetPixel(*FMaster, i, j, Hole);
    for (std::size_t n = 0; n < FQueued.size(); ++n) {
        const TImageSpec& im = FQueued[n];
        const TPlacedImage& p = placed[n];
        const int cellW = im.States.front().Width(), cellH = im.States.front().Height();
        for (std::size_t s = 0; s < im.States.size(); ++s) {
            if (im.States[s].Width() != cellW || im.States[s].Height() != cellH)
                throw std::invalid_argument("state pictures of different sizes: " + im.Key);
            const std::vector<bool>* holes = s < im.Holes.size() ? &im.Holes[s] : nullptr;
            PutPicture(*FMaster, p.Left + static_cast<int>(s) * cellW, p.Top, im.States[s], holes, im.MaskType, cellH);
        }
        Section(p.Section).Set(p.Key, p.Value());
    }
    FPlaced = std::move(placed);
    FQueued.clear();
}

std::string TSkinModel::OptionsText() const {
    std::string text;
    for (const TSectionSpec& s : FSections) {
        if (!text.empty()) text += "\r\n";
        text += "[" + s.Name() + "]\r\n";
        for (const auto& [key, value] : s.Keys())
            text += key + "=" + value + "\r\n";
    }
    return text;
}

std::vector<std::uint8_t> TSkinModel::MasterBytes() const {
    if (!FMaster) return {};
    classes::TMemoryStream stream;
    FMaster->SaveToStream(stream);
    const auto* data = static_cast<const std::uint8_t*>(stream.Memory());
    return {data, data + stream.Size()};
}

void TSkinModel::WriteFolder(const std::string& root) const {
    const std::filesystem::path folder = std::filesystem::path(root) / FName;
    std::filesystem::create_directories(folder);
    const std::string options = OptionsText();
    WriteFile((folder / OptionsFileName).string(), options.data(), options.size());
    const std::vector<std::uint8_t> master = MasterBytes();
    WriteFile((folder / MasterFileName).string(), master.data(), master.size());
}

}
