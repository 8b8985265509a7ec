// Pictures of the mini-language: decoding with frame selection for animated GIF files, the
// named picture container and the address-keyed cache.
#include "render/PictureContainer.h"

#include "platform/Canvas.h"
#include "platform/Jpeg.h"
#include "platform/SysUtils.h"

#include <QBuffer>
#include <QFile>
#include <QThread>

const char* const SCouldNotAllocate = "Could not allocate memory for image";
const char* const SCouldNotCreateStream = "Could not create image stream";
const char* const SEmptyImageStream = "Empty image stream created";
const char* const SInvalidImageFormat = "Could not load image. Invalid format";
const char* const SCouldNotLoadImage = "Could not load image";

namespace {

// The background fetch of a picture given by a network address. Nothing is ever fetched: the
// thread runs and ends at once; the picture stays busy.
class TDownLoadThread : public QThread {
public:
    explicit TDownLoadThread(THTMLPicture* picture) : FPicture(picture) {}
    THTMLPicture* Picture() const { return FPicture; }

protected:
    void run() override {}

private:
    THTMLPicture* FPicture;
};

int Word(const QByteArray& d, int at)
{
    return static_cast<unsigned char>(d[at]) | (static_cast<unsigned char>(d[at + 1]) << 8);
}

unsigned char Byte(const QByteArray& d, int at) { return static_cast<unsigned char>(d[at]); }

bool IsMarkerAt(const QByteArray& d, int j)
{
    return j + 9 < d.size() && Byte(d, j) == 0x21 && Byte(d, j + 1) == 0xF9 && Byte(d, j + 2) == 0x04 &&
           Byte(d, j + 8) == 0x2C;
}

// Metafiles (placeable or plain WMF, EMF) cannot be decoded here.
bool IsMetafile(const QByteArray& d)
{
    if (d.size() >= 4 && Byte(d, 0) == 0xD7 && Byte(d, 1) == 0xCD && Byte(d, 2) == 0xC6 && Byte(d, 3) == 0x9A)
        return true;
    if (d.size() >= 44 && Word(d, 0) == 1 && Word(d, 2) == 0 && d.mid(40, 4) == QByteArray(" EMF")) return true;
    if (d.size() >= 18 && (Word(d, 0) == 1 || Word(d, 0) == 2) && Word(d, 2) == 9 &&
        (Word(d, 4) == 0x0100 || Word(d, 4) == 0x0300))
        return true;
    return false;
}

bool IsJpeg(const QByteArray& d)
{
    return d.size() >= 3 && Byte(d, 0) == 0xFF && Byte(d, 1) == 0xD8 && Byte(d, 2) == 0xFF;
}

} // namespace

// ---------------------------------------------------------------------------------------------

THTMLPicture::THTMLPicture() = default;

THTMLPicture::~THTMLPicture()
{
    if (FThread) FThread->wait();
}

std::unique_ptr<TGraphic> THTMLPicture::Clone() const
{
    auto copy = std::make_unique<THTMLPicture>();
    copy->Assign(this);
    copy->FStretched = FStretched;
    copy->FID = FID;
    return copy;
}

void THTMLPicture::MakeEmpty()
{
    FDatastream.clear();
    FPicture = QImage();
    FHimetricX = FHimetricY = 0;
    FIsEmpty = true;
}

bool THTMLPicture::IsGIF() const
{
    return FDatastream.size() >= 5 && FDatastream.startsWith("GIF8");
}

std::vector<int> THTMLPicture::FrameMarkers() const
{
    std::vector<int> markers;
    for (int j = 0; j + 9 < FDatastream.size(); ++j)
        if (IsMarkerAt(FDatastream, j)) markers.push_back(j);
    return markers;
}

int THTMLPicture::FrameCount() const
{
    if (!IsGIF()) return -1;
    if (FFrameCount < 0) FFrameCount = static_cast<int>(FrameMarkers().size());
    return FFrameCount;
}

int THTMLPicture::GetFrameTime(int frame)
{
    if (!IsGIF()) return -1;
    const std::vector<int> markers = FrameMarkers();
    if (frame < 1 || frame > static_cast<int>(markers.size())) return -1;
    const int m = markers[frame - 1];  // a marker always has 9 bytes after it
    const unsigned char packed = Byte(FDatastream, m + 3);
    FFrameTransp = (packed & 0x01) != 0;
    FFrameDisposal = (packed >> 2) & 0x07;
    return Word(FDatastream, m + 4);
}

void THTMLPicture::Decode()
{
    const QByteArray& data = FDatastream;
    QRect frame;
    QSize area;
    QByteArray stream;
    const std::vector<int> markers = IsGIF() ? FrameMarkers() : std::vector<int>();
    if (markers.empty()) {
        stream = data;
    } else {
        // The header and colour table, then the current frame and every frame after it: a
        // decoder shows the first frame of the stream, which is the current one.
        if (data.size() >= 10) {
            area = QSize(Word(data, 6), Word(data, 8));
        }
        stream.reserve(data.size());
        int frameNo = 1;
        bool skip = false;
        for (int j = 0; j < data.size(); ++j) {
            if (IsMarkerAt(data, j)) {
                if (frameNo == FFrame && j + 16 < data.size()) {
                    frame = QRect(Word(data, j + 9), Word(data, j + 11), Word(data, j + 13), Word(data, j + 15));
                }
                ++frameNo;
                skip = FFrame >= frameNo;
            }
            if (!skip) stream.append(data[j]);
        }
    }

    QImage image;
    if (IsMetafile(stream)) {
        // No metafile decoder here: the picture shows nothing.
        FPicture = QImage();
        FHimetricX = FHimetricY = 0;
        FIsEmpty = true;
        return;
    }
    if (stream.isEmpty()) throw EInvalidGraphic(QString::fromLatin1(SInvalidImageFormat));
    if (IsJpeg(stream)) {
        if (!platform::DecodeJpeg(stream, &image)) throw EInvalidGraphic(QString::fromLatin1(SInvalidImageFormat));
    } else {
        image = QImage::fromData(stream);
        if (image.isNull()) throw EInvalidGraphic(QString::fromLatin1(SInvalidImageFormat));
    }
    if (!markers.empty() && frame.width() > 0 && frame.height() > 0) {
        // The decoder lays the frame on the whole animation area; keep the frame alone, it is
        // drawn at its offset.
        const QRect shown = frame.intersected(image.rect());
        if (!shown.isEmpty() && shown != image.rect()) image = image.copy(shown);
    }
    FPicture = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    FHimetricX = platform::MulDiv(FPicture.width(), 2540, 96);
    FHimetricY = platform::MulDiv(FPicture.height(), 2540, 96);
    FFrameRect = frame;
    FAnimMax = area;
}

int THTMLPicture::Width() const
{
    return FPicture.isNull() ? 0 : platform::MulDiv(FHimetricX, FLogPixX, 2540);
}

int THTMLPicture::Height() const
{
    return FPicture.isNull() ? 0 : platform::MulDiv(FHimetricY, FLogPixY, 2540);
}

int THTMLPicture::MaxWidth() const
{
    if (FPicture.isNull()) return 0;
    return FAnimMax.width() > 0 ? FAnimMax.width() : Width();
}

int THTMLPicture::MaxHeight() const
{
    if (FPicture.isNull()) return 0;
    return FAnimMax.height() > 0 ? FAnimMax.height() : Height();
}

void THTMLPicture::Draw(TCanvas& canvas, const TRect& r) const
{
    if (FIsEmpty || FPicture.isNull()) return;
    TRect dst = r;
    if (!FStretched)
        dst = Bounds(r.Left, r.Top, platform::MulDiv(FHimetricX, canvas.GetDeviceCaps(LOGPIXELSX), 2540),
                     platform::MulDiv(FHimetricY, canvas.GetDeviceCaps(LOGPIXELSY), 2540));
    const TIcon frame(FPicture);
    canvas.StretchDraw(dst, &frame);
}

void THTMLPicture::ReadData(QIODevice& stream)
{
    FDatastream = stream.readAll();
    FIsEmpty = false;
    Decode();
}

void THTMLPicture::LoadFromStream(QIODevice& stream)
{
    ReadData(stream);
    Changed();
}

void THTMLPicture::WriteData(QIODevice& stream) const
{
    stream.write(FDatastream);
}

bool THTMLPicture::SaveToStream(QIODevice& stream) const
{
    return stream.write(FDatastream) == FDatastream.size();
}

void THTMLPicture::LoadFromFile(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        MakeEmpty();
        return;
    }
    try {
        ReadData(f);
    } catch (const std::exception&) {
        MakeEmpty();
        return;
    }
    Changed();
}

void THTMLPicture::LoadFromResourceName(const QString& name)
{
    const QString path = platform::FindAsset(name);
    if (path.isEmpty()) return;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return;
    LoadFromStream(f);
}

void THTMLPicture::LoadFromResourceID(int id)
{
    const QString path = platform::FindAsset(QString::number(id));
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly))
        throw platform::Exception(QStringLiteral("Resource %1 not found").arg(id));
    LoadFromStream(f);
}

void THTMLPicture::LoadFromURL(const QString& url)
{
    const QString upper = platform::UpperCase(url);
    if (upper.startsWith(QLatin1String("RES://"))) {
        FID = url;
        LoadFromResourceName(url.mid(6));
    } else if (upper.startsWith(QLatin1String("FILE://"))) {
        FID = url;
        LoadFromFile(url.mid(7));
    } else if (!FAsynch) {
        FID = url;
        FURL = url;
    } else if (!FThreadBusy) {
        FURL = url;
        FThreadBusy = true;
        FThread = std::make_unique<TDownLoadThread>(this);
        FThread->start();
    }
}

void THTMLPicture::Assign(const TGraphic* source)
{
    FPicture = QImage();
    FHimetricX = FHimetricY = 0;
    FFrameCount = -1;
    FNextCount = -1;
    FTimerCount = -1;
    try {
        SetFrame(1);
    } catch (const std::exception&) {
        // the old data is about to be replaced; whether it decodes does not matter
    }
    FPicture = QImage();
    if (!source) {
        MakeEmpty();
        return;
    }
    const auto* other = dynamic_cast<const THTMLPicture*>(source);
    if (!other || other->Empty() || other->FDatastream.isEmpty()) {
        // An empty picture copies as an empty picture, never as undecodable data.
        MakeEmpty();
        return;
    }
    FDatastream = other->FDatastream;
    FIsEmpty = false;
    Decode();
    Changed();
}

void THTMLPicture::SetFrame(int frame)
{
    FFrame = frame;
    if (!FDatastream.isEmpty()) {
        Decode();
        if (OnFrameChange) OnFrameChange(this);
    }
}

void THTMLPicture::FrameNext()
{
    const int count = FrameCount();
    SetFrame(FFrame + 1 > count ? 1 : FFrame + 1);
}

void THTMLPicture::FramePrev()
{
    const int count = FrameCount();
    SetFrame(FFrame - 1 < 1 ? std::max(count, 1) : FFrame - 1);
}

bool THTMLPicture::Step()
{
    if (FrameCount() < 2 || FIsEmpty) return false;
    bool changed = false;
    try {
        if (FNextCount == -1) FNextCount = GetFrameTime(FFrame);
        if (FTimerCount * 10 >= FNextCount) {
            FrameNext();
            FNextCount += GetFrameTime(FFrame);
            changed = true;
        }
    } catch (const std::exception&) {
        // Called from animation timers: a frame that does not decode is skipped silently.
        changed = false;
    }
    ++FTimerCount;
    return changed;
}

// ---------------------------------------------------------------------------------------------

TPictureItem::TPictureItem(TPictureCollection* collection)
    : FCollection(collection), FPicture(std::make_unique<THTMLPicture>())
{
}

void TPictureItem::Assign(const TPictureItem& source)
{
    if (&source == this) return;
    FName = source.FName;
    FTag = source.FTag;
    FPicture->Assign(source.FPicture.get());
}

TPictureItem* TPictureCollection::Items(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return FItems[index].get();
}

void TPictureCollection::SetItems(int index, const TPictureItem& item)
{
    if (TPictureItem* target = Items(index)) target->Assign(item);
}

TPictureItem* TPictureCollection::Add()
{
    FItems.push_back(std::make_unique<TPictureItem>(this));
    return FItems.back().get();
}

TPictureItem* TPictureCollection::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    auto it = FItems.insert(FItems.begin() + index, std::make_unique<TPictureItem>(this));
    return it->get();
}

void TPictureCollection::Delete(int index)
{
    if (index >= 0 && index < Count()) FItems.erase(FItems.begin() + index);
}

void TPictureCollection::Clear() { FItems.clear(); }

void TPictureCollection::Assign(const TPictureCollection& source)
{
    if (&source == this) return;
    FItems.clear();
    for (const auto& item : source.FItems) Add()->Assign(*item);
}

bool TPictureCollection::Animate()
{
    bool changed = false;
    for (const auto& item : FItems)
        if (item->Picture().Step()) changed = true;
    return changed;
}

TPictureContainer::TPictureContainer(QObject* owner)
    : QObject(owner), FItems(std::make_unique<TPictureCollection>(this))
{
}

TPictureContainer::~TPictureContainer() = default;

THTMLPicture* TPictureContainer::FindPicture(const QString& name) const
{
    const QString key = name.toUpper();
    for (int i = 0; i < FItems->Count(); ++i) {
        TPictureItem* item = FItems->Items(i);
        if (item->Name().toUpper() == key) return &item->Picture();
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------

THTMLPicture* THTMLPictureCache::GetPicture(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return FList[index].get();
}

void THTMLPictureCache::SetPicture(int index, std::unique_ptr<THTMLPicture> picture)
{
    if (index < 0 || index >= Count()) return;
    FList[index] = std::move(picture);
}

THTMLPicture* THTMLPictureCache::AddPicture()
{
    FList.push_back(std::make_unique<THTMLPicture>());
    return FList.back().get();
}

THTMLPicture* THTMLPictureCache::FindPicture(const QString& id) const
{
    for (const auto& p : FList)
        if (p && p->ID() == id) return p.get();
    return nullptr;
}

void THTMLPictureCache::ClearPictures() { FList.clear(); }

bool THTMLPictureCache::Animate()
{
    bool changed = false;
    for (const auto& p : FList)
        if (p && p->Step()) changed = true;
    return changed;
}
