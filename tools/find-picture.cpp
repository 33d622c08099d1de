// find-picture: whether a screenshot shows a picture pixel for pixel, anywhere on it.
//   find-picture screen.ppm picture.bmp
// The screenshot is a binary PPM with 8-bit samples (xwdtopnm | pamdepth 255); the picture a
// 24-bit BMP, as the resource generator writes the setup program's pictures. Exits 0 when the
// picture is found, 1 when it is not, 2 when a file cannot be read.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Image {
    std::size_t width = 0, height = 0;
    std::vector<std::uint8_t> rgb; // rows top to bottom, three bytes a pixel
};

std::optional<std::vector<std::uint8_t>> readAll(const char *path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::optional<Image> readPpm(const char *path)
{
    const auto data = readAll(path);
    if (!data)
        return std::nullopt;
    std::size_t at = 0;
    std::vector<std::string> fields;
    while (fields.size() < 4) {
        while (at < data->size() && std::isspace((*data)[at]))
            ++at;
        std::string field;
        while (at < data->size() && !std::isspace((*data)[at]))
            field += static_cast<char>((*data)[at++]);
        if (field.empty())
            return std::nullopt;
        fields.push_back(field);
    }
    ++at; // the one white-space byte before the samples
    if (fields[0] != "P6" || fields[3] != "255")
        return std::nullopt;
    Image image{std::stoul(fields[1]), std::stoul(fields[2]), {}};
    const std::size_t size = image.width * image.height * 3;
    if (data->size() < at + size)
        return std::nullopt;
    image.rgb.assign(data->begin() + at, data->begin() + at + size);
    return image;
}

std::uint32_t little(const std::vector<std::uint8_t> &d, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | d[at + i];
    return value;
}

std::optional<Image> readBmp(const char *path)
{
    const auto data = readAll(path);
    if (!data || data->size() < 54 || little(*data, 28, 2) != 24)
        return std::nullopt;
    const std::size_t offset = little(*data, 10, 4);
    Image image{little(*data, 18, 4), little(*data, 22, 4), {}};
    const std::size_t stride = (image.width * 3 + 3) / 4 * 4;
    if (data->size() < offset + stride * image.height)
        return std::nullopt;
    for (std::size_t y = 0; y < image.height; ++y) { // bottom-up rows of BGR
        const std::size_t row = offset + (image.height - 1 - y) * stride;
        for (std::size_t x = 0; x < image.width; ++x)
            for (int c = 2; c >= 0; --c)
                image.rgb.push_back((*data)[row + x * 3 + c]);
    }
    return image;
}

bool shows(const Image &screen, const Image &picture, std::size_t x, std::size_t y)
{
    const std::size_t rowBytes = picture.width * 3;
    for (std::size_t r = 0; r < picture.height; ++r) {
        const auto screenRow = screen.rgb.begin() + ((y + r) * screen.width + x) * 3;
        if (!std::equal(screenRow, screenRow + rowBytes, picture.rgb.begin() + r * rowBytes))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: find-picture screen.ppm picture.bmp\n");
        return 2;
    }
    const auto screen = readPpm(argv[1]);
    const auto picture = readBmp(argv[2]);
    if (!screen || !picture || picture->width == 0 || picture->height == 0) {
        std::fprintf(stderr, "find-picture: cannot read %s\n", !screen ? argv[1] : argv[2]);
        return 2;
    }
    if (picture->width > screen->width || picture->height > screen->height)
        return 1;
    for (std::size_t y = 0; y + picture->height <= screen->height; ++y)
        for (std::size_t x = 0; x + picture->width <= screen->width; ++x)
            if (shows(*screen, *picture, x, y))
                return 0;
    return 1;
}
