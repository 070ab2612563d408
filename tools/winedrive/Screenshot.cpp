#include "winedrive/Screenshot.h"

#include <fstream>

namespace quorvel::winedrive {

Screenshot Screenshot::OfScreen(const RECT& screenRect) {
    Screenshot shot;
    const int width = screenRect.right - screenRect.left;
    const int height = screenRect.bottom - screenRect.top;
    if (width <= 0 || height <= 0) return shot;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const bool copied =
        BitBlt(memory, 0, 0, width, height, screen, screenRect.left, screenRect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    shot.width_ = width;
    shot.height_ = height;
    shot.origin_ = {screenRect.left, screenRect.top};
    shot.pixels_.assign(static_cast<std::size_t>(shot.Stride()) * height, 0);
    const bool read = copied && GetDIBits(memory, bitmap, 0, height, shot.pixels_.data(), &info,
                                          DIB_RGB_COLORS) == height;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!read) return Screenshot();
    return shot;
}

Screenshot Screenshot::OfWindow(HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return Screenshot();
    return OfScreen(rect);
}

Screenshot Screenshot::OfClient(HWND window) {
    RECT rect;
    if (!GetClientRect(window, &rect)) return Screenshot();
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return OfScreen(rect);
}

COLORREF Screenshot::AtScreen(int x, int y) const {
    const int column = x - origin_.x;
    const int row = y - origin_.y;
    if (column < 0 || row < 0 || column >= width_ || row >= height_) return CLR_INVALID;
    const std::size_t at = static_cast<std::size_t>(height_ - 1 - row) * Stride() +
                           static_cast<std::size_t>(column) * 3;
    return RGB(pixels_[at + 2], pixels_[at + 1], pixels_[at]);
}

bool Screenshot::SaveBmp(const std::string& path) const {
    if (Empty()) return false;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width_;
    header.biHeight = height_;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(pixels_.size());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(pixels_.data()),
              static_cast<std::streamsize>(pixels_.size()));
    return static_cast<bool>(out);
}

bool Screenshot::operator==(const Screenshot& other) const {
    return width_ == other.width_ && height_ == other.height_ && origin_.x == other.origin_.x &&
           origin_.y == other.origin_.y && pixels_ == other.pixels_;
}

}  // namespace quorvel::winedrive
