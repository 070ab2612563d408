#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quorvel::winedrive {

// A picture of part of the screen, 24 bits a pixel, kept with where on the screen it was
// taken so that a test can look up pixels by screen (or, through ClientToScreen, client)
// coordinates.
class Screenshot {
  public:
    Screenshot() = default;

    // Copies `screenRect` off the screen. Reading the screen rather than asking the window to
    // paint itself works while the window's thread is busy, which is when the progress page
    // is up. Empty when the copy fails.
    static Screenshot OfScreen(const RECT& screenRect);

    // The window as it shows on the screen, frame included.
    static Screenshot OfWindow(HWND window);
    // The window's client area: what the window paints itself.
    static Screenshot OfClient(HWND window);

    bool Empty() const { return pixels_.empty(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The screen position of the top-left pixel.
    POINT Origin() const { return origin_; }

    // The colour at a screen position; CLR_INVALID outside the picture.
    COLORREF AtScreen(int x, int y) const;
    // The colour at a position counted from the shot's top-left pixel (for a shot of a client
    // area, a client position). No call to the window system: cheap enough for every pixel.
    COLORREF At(int x, int y) const { return AtScreen(origin_.x + x, origin_.y + y); }

    // Writes a 24-bit BMP file (a Windows path). False when it cannot be written.
    bool SaveBmp(const std::string& path) const;

    bool operator==(const Screenshot& other) const;
    bool operator!=(const Screenshot& other) const { return !(*this == other); }

  private:
    int Stride() const { return (width_ * 3 + 3) & ~3; }

    int width_ = 0;
    int height_ = 0;
    POINT origin_{};
    std::vector<unsigned char> pixels_;  // bottom-up rows of blue, green, red, as in the file
};

}  // namespace quorvel::winedrive
