#pragma once
// TGridAlphaMask, a 32-bit picture with per-pixel alpha, and the routines that make the soft
// rounded frame shown around the edited cell (outline mask and Gaussian blur).
#include "platform/Graphics.h"
#include "platform/Picture.h"

#include <stdexcept>
#include <vector>

class TGridAlphaMask : public TBitmap {
public:
    TGridAlphaMask();
    // From another alpha mask: its opacity and pixels; from any other bitmap: its pixels.
    void Assign(const TBitmap& Source);
    // Takes Bitmap's size; per pixel alpha = the mask pixel's red byte and the colour channels
    // = Bitmap's channels premultiplied by it. Nothing unless Bitmap is a 24-bit picture.
    void MergeMask(const TBitmap& Mask, const TBitmap& Bitmap, TColor Color);
    unsigned char Opacity() const { return FOpacity; }
    void SetOpacity(unsigned char Value) { FOpacity = Value; }
    bool Empty() const { return Width() == 0 || Height() == 0; }

private:
    unsigned char FOpacity = 255;
};

// Raised by BlurBitmap for a picture that is not 24 bits per pixel.
class EBlurError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int ClampInt(int Low, int High, int Value);
int ClampToByte(double Low, double High, double Value);
// Normalised weights of the Gaussian kernel of a radius, cut where the tails no longer count.
std::vector<double> MakeGaussianKernel(double Radius);
// Blurs every line near the picture's edges and copies line 15 over the inner ones.
void BlurBitmap(TBitmap& Bitmap, double Radius);
// A 24-bit Width x Height black picture with a white rounded rectangle (outline of PenWidth, or
// filled when PenWidth < 1), blurred with Radius when above 0.
void MakeFocusFrameMask(TBitmap& Bitmap, int Width, int Height, int PenWidth, int Corner, double Radius);
