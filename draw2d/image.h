#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TImageFrame;
class TPixmap;

// Image flags.
enum : int32_t {
    ImageFlagMasked = 1,    // pixels of the mask colour become transparent (pixmaps without alpha)
    ImageFlagFiltered = 2,  // textures sampled with linear filtering, else nearest
    ImageFlagMipmapped = 4, // textures carry a mipmap chain
};

// A picture of one or more frames of equal size with a handle point. Each frame is held as a
// pixmap and, once drawn, as a driver frame made lazily from it and rebuilt whenever the
// graphics sequence number has moved on. Frame indices outside 0..count-1 give none or do nothing.
class TImage {
public:
    virtual ~TImage();

    // The driver frame for drawing; none when the index is bad, there is no 2D driver or the
    // driver could not make one (then it is tried again on the next call).
    virtual std::shared_ptr<TImageFrame> Frame(int index);
    // The frame's pixmap, made as a clear RGBA8888 pixmap of the image size if it has none. Locking
    // for writing drops the driver frame so the next draw picks up the changes.
    virtual std::shared_ptr<TPixmap> Lock(int index, int read, int write);
    // Masks pixmaps without alpha when the image is masked.
    virtual void SetPixmap(int index, const std::shared_ptr<TPixmap>& pixmap);
    // Lets go of every driver frame (a texture's memory); the next draw makes them again from the
    // pixmaps, with the same pixels. For large pictures that are off screen for long.
    void ReleaseFrames();
    // Whether any driver frame is held.
    bool HoldsFrames() const;

    // The frames painted denser, at density pixels a pixel of the image, made by load (one pixmap
    // a frame, each density times the size) when a window's scale first calls for them. Size,
    // handle and the source rectangles of draws stay in the image's own pixels. A window at scale
    // s draws the least dense version of at least s, else the densest; at scale 1 the image itself.
    using TPixmapsLoader = std::function<std::vector<std::shared_ptr<TPixmap>>()>;
    void AddDenserVersion(int32_t density, TPixmapsLoader load);

    static std::shared_ptr<TImage> Create(int width, int height, int frames, int32_t flags, int r, int g, int b);
    static std::shared_ptr<TImage> Load(const std::string& url, int32_t flags, int r, int g, int b);
    static std::shared_ptr<TImage> Load(const std::shared_ptr<TPixmap>& pixmap, int32_t flags, int r, int g,
                                        int b);
    // count cells of cellWidth by cellHeight from first on, left to right then top to bottom.
    // None when the picture holds fewer cells, or for a cell size below 1 or a negative first or count.
    static std::shared_ptr<TImage> LoadAnim(const std::string& url, int cellWidth, int cellHeight, int first,
                                            int count, int32_t flags, int r, int g, int b);
    static std::shared_ptr<TImage> LoadAnim(const std::shared_ptr<TPixmap>& pixmap, int cellWidth,
                                            int cellHeight, int first, int count, int32_t flags, int r, int g,
                                            int b);

    int32_t width = 0, height = 0;
    int32_t flags = 0;
    int32_t mask_r = 0, mask_g = 0, mask_b = 0;
    float handle_x = 0, handle_y = 0;
    std::vector<std::shared_ptr<TPixmap>> pixmaps;
    std::vector<std::shared_ptr<TImageFrame>> frames;
    std::vector<int32_t> seqs; // graphics sequence number each frame was made at; 0 = not made

private:
    struct TDenserVersion {
        int32_t density = 1;
        TPixmapsLoader load; // empty once called
        bool usable = true;  // loaded with a pixmap for every frame, or not loaded yet
        std::vector<std::shared_ptr<TPixmap>> pixmaps;
        std::vector<std::shared_ptr<TImageFrame>> frames;
        std::vector<int32_t> seqs;
    };
    bool ValidIndex(int index) const;
    // The version the current window's scale calls for; none for the image itself.
    TDenserVersion* VersionForScale();
    std::vector<TDenserVersion> denser_; // by density, least dense first
};

// flags -1 uses the automatic image flags. None when the picture can't be loaded.
std::shared_ptr<TImage> LoadImageFile(const std::string& url, int32_t flags = -1);
std::shared_ptr<TImage> LoadImageFile(const std::shared_ptr<TPixmap>& pixmap, int32_t flags = -1);
std::shared_ptr<TImage> LoadAnimStrip(const std::string& url, int cellWidth, int cellHeight, int first, int count,
                                      int32_t flags = -1);
std::shared_ptr<TImage> LoadAnimStrip(const std::shared_ptr<TPixmap>& pixmap, int cellWidth, int cellHeight,
                                      int first, int count, int32_t flags = -1);

// Settings for images loaded from now on. Automatic flags start as masked and filtered (-1 leaves
// them as they are); the mask colour starts black; the automatic mid-handle starts off.
void SetAutoImageFlags(int32_t flags);
void SetMaskColor(int r, int g, int b);
void SetAutoMidHandle(int on);

// None images are ignored and measure 0.
void CentreImageHandle(const std::shared_ptr<TImage>& image);
void SetImageHandle(const std::shared_ptr<TImage>& image, float x, float y);
int ImageWidth(const std::shared_ptr<TImage>& image);
int ImageHeight(const std::shared_ptr<TImage>& image);
