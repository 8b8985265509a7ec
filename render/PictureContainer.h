#pragma once
// Pictures for the mini-language (IMG and BODY BACKGROUND): a graphic that keeps its encoded file
// in memory and decodes the current frame (animated GIF files step through their frames), a
// component with a named list of such pictures, and a cache of pictures keyed by address.
//
// BMP, PNG, GIF, ICO and JPEG data decode; WMF and EMF data cannot be decoded here and give an
// empty picture.
#include "platform/Graphics.h"
#include "platform/Picture.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QThread;
class TCanvas;
class THTMLPicture;

// The messages of a picture that cannot be decoded.
extern const char* const SCouldNotAllocate;       // "Could not allocate memory for image"
extern const char* const SCouldNotCreateStream;   // "Could not create image stream"
extern const char* const SEmptyImageStream;       // "Empty image stream created"
extern const char* const SInvalidImageFormat;     // "Could not load image. Invalid format"
extern const char* const SCouldNotLoadImage;      // "Could not load image"

using TDownloadProgressEvent = std::function<void(THTMLPicture* sender, int position, int total)>;
using TDownloadCancelEvent = std::function<void(THTMLPicture* sender, bool& cancel)>;
using TDownloadCompleteEvent = std::function<void(THTMLPicture* sender)>;
using TDownloadErrorEvent = std::function<void(THTMLPicture* sender, const QString& error)>;

class THTMLPicture : public TGraphic {
public:
    THTMLPicture();
    ~THTMLPicture() override;
    THTMLPicture(const THTMLPicture&) = delete;
    THTMLPicture& operator=(const THTMLPicture&) = delete;

    QString ClassName() const override { return QStringLiteral("THTMLPicture"); }
    std::unique_ptr<TGraphic> Clone() const override;

    // Empties the picture, then copies another THTMLPicture's data and decodes it; null clears the
    // data; any other kind of graphic leaves the picture empty.
    void Assign(const TGraphic* source);

    // Nothing when empty or not decoded. Stretch: into r; otherwise at r's top-left in its natural
    // size for the canvas's resolution.
    void Draw(TCanvas& canvas, const TRect& r) const override;
    bool Empty() const override { return FIsEmpty; }
    int Width() const override;   // pixels at 96 dpi; 0 when not decoded
    int Height() const override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    // The whole stream becomes the data; decoding errors propagate.
    void LoadFromStream(QIODevice& stream) override;
    bool SaveToStream(QIODevice& stream) const override;
    // Errors leave the picture empty and are not passed on.
    void LoadFromFile(const QString& fileName) override;
    // As LoadFromStream without OnChange; WriteData writes the data unchanged.
    void ReadData(QIODevice& stream);
    void WriteData(QIODevice& stream) const;
    using TGraphic::LoadFromData;
    QImage ToImage() const override { return FPicture; }
    void LoadFromClipboardFormat() {}
    void SaveToClipboardFormat() const {}

    // A picture of the program's own resources (assets) by name; nothing when there is none.
    void LoadFromResourceName(const QString& name);
    // The resource named by the number; raises when it does not exist.
    void LoadFromResourceID(int id);
    // "RES://name", "FILE://path"; any other address is only remembered (nothing is fetched).
    void LoadFromURL(const QString& url);

    // The encoded file, byte for byte.
    const QByteArray& Data() const { return FDatastream; }

    bool Stretch() const { return FStretched; }
    void SetStretch(bool value) { FStretched = value; }
    QString ID() const { return FID; }
    void SetID(const QString& id) { FID = id; }
    QString URL() const { return FURL; }
    bool IsDB() const { return FIsDB; }
    void SetIsDB(bool value) { FIsDB = value; }
    bool Asynch() const { return FAsynch; }
    void SetAsynch(bool value) { FAsynch = value; }
    bool Busy() const { return FThreadBusy; }

    bool IsGIF() const;
    int FrameCount() const;  // -1 when not a GIF
    int Frame() const { return FFrame; }
    void SetFrame(int frame);
    void FrameNext();
    void FramePrev();
    // Delay of a frame in 1/100 s, -1 when it has none or the data is not a GIF. Remembers the
    // frame's transparency flag and disposal method.
    int GetFrameTime(int frame);
    // One animation tick; true when the shown frame changed. Never raises: a frame that cannot be
    // decoded leaves the picture as it was.
    bool Step();

    int FrameXPos() const { return FFrameRect.x(); }
    int FrameYPos() const { return FFrameRect.y(); }
    int FrameXSize() const { return FFrameRect.width(); }
    int FrameYSize() const { return FFrameRect.height(); }
    bool FrameTransp() const { return FFrameTransp; }
    int FrameDisposal() const { return FFrameDisposal; }
    int MaxWidth() const;
    int MaxHeight() const;

    // Size in 0.01 mm of the decoded picture.
    int HimetricWidth() const { return FHimetricX; }
    int HimetricHeight() const { return FHimetricY; }
    bool Decoded() const { return !FPicture.isNull(); }

    std::function<void(THTMLPicture* sender)> OnFrameChange;
    // Published for form compatibility; never raised (nothing is ever downloaded).
    TDownloadProgressEvent OnDownLoadProgress;
    TDownloadCancelEvent OnDownLoadCancel;
    TDownloadCompleteEvent OnDownLoadComplete;
    TDownloadErrorEvent OnDownLoadError;

private:
    void Decode();
    void MakeEmpty();
    // Byte offsets of the frame markers (graphic control extension followed by an image).
    std::vector<int> FrameMarkers() const;

    QByteArray FDatastream;
    bool FIsEmpty = true;
    bool FStretched = false;
    QImage FPicture;  // the decoded current frame
    int FHimetricX = 0;
    int FHimetricY = 0;
    int FLogPixX = 96;
    int FLogPixY = 96;
    QString FURL;
    QString FID;
    bool FIsDB = false;
    bool FAsynch = true;
    bool FThreadBusy = false;
    int FFrame = 1;
    mutable int FFrameCount = -1;
    QRect FFrameRect;  // where the current frame stands in the animation area
    bool FFrameTransp = false;
    int FFrameDisposal = 0;
    QSize FAnimMax;  // the animation area the GIF header gives (empty: none)
    int FNextCount = -1;
    int FTimerCount = -1;
    std::unique_ptr<QThread> FThread;  // the download thread, when one was started
};

class TPictureCollection;

class TPictureItem {
public:
    explicit TPictureItem(TPictureCollection* collection = nullptr);
    TPictureItem(const TPictureItem&) = delete;
    TPictureItem& operator=(const TPictureItem&) = delete;

    void Assign(const TPictureItem& source);  // Name, Tag and Picture

    THTMLPicture& Picture() { return *FPicture; }
    const THTMLPicture& Picture() const { return *FPicture; }
    void SetPicture(const THTMLPicture& picture) { FPicture->Assign(&picture); }
    QString Name() const { return FName; }
    void SetName(const QString& name) { FName = name; }
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }
    TPictureCollection* Collection() const { return FCollection; }

private:
    TPictureCollection* FCollection;
    std::unique_ptr<THTMLPicture> FPicture;
    QString FName;
    int FTag = 0;
};

class TPictureCollection {
public:
    explicit TPictureCollection(QObject* owner = nullptr) : FOwner(owner) {}
    QObject* Owner() const { return FOwner; }

    int Count() const { return static_cast<int>(FItems.size()); }
    TPictureItem* Items(int index) const;            // null outside the list
    void SetItems(int index, const TPictureItem& item);  // copies into the item
    TPictureItem* Add();
    TPictureItem* Insert(int index);
    void Delete(int index);
    void Clear();
    void Assign(const TPictureCollection& source);
    // Step of every item's picture; true when any changed.
    bool Animate();

private:
    QObject* FOwner;
    std::vector<std::unique_ptr<TPictureItem>> FItems;
};

class TPictureContainer : public QObject {
public:
    explicit TPictureContainer(QObject* owner = nullptr);
    ~TPictureContainer() override;

    TPictureCollection& Items() { return *FItems; }
    const TPictureCollection& Items() const { return *FItems; }
    void SetItems(const TPictureCollection& items) { FItems->Assign(items); }

    // The picture of the first item whose name equals `name` ignoring case; null when none.
    virtual THTMLPicture* FindPicture(const QString& name) const;

private:
    std::unique_ptr<TPictureCollection> FItems;
};

class THTMLPictureCache {
public:
    THTMLPictureCache() = default;
    ~THTMLPictureCache() { ClearPictures(); }
    THTMLPictureCache(const THTMLPictureCache&) = delete;
    THTMLPictureCache& operator=(const THTMLPictureCache&) = delete;

    int Count() const { return static_cast<int>(FList.size()); }
    THTMLPicture* GetPicture(int index) const;
    void SetPicture(int index, std::unique_ptr<THTMLPicture> picture);  // replaces and frees the old one
    THTMLPicture* AddPicture();                    // a new empty picture at the end
    THTMLPicture* FindPicture(const QString& id) const;  // ID equal, exact case
    void ClearPictures();
    bool Animate();

private:
    std::vector<std::unique_ptr<THTMLPicture>> FList;
};
