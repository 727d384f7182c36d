#include "engine/graphics/KsFreeTypeFontManager.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/graphics/KsFontBoldTransform.h"
#include "engine/graphics/KsFreeTypeFace.h"
#include "engine/streams/KsContainer.h"

namespace {

// Every system font must draw these.
constexpr char kMandatoryChars[] = "azAZ09";

std::unique_ptr<KsFreeTypeFontManager> gFontManager;
int gGlobalWeightAdjustment = 0;

string8 FaceNameOf(FT_Face face) {
    string8 name(face->family_name ? face->family_name : "");
    string8 style(face->style_name ? face->style_name : "");
    if (name == "Arial" && style == "Narrow")
        name.Append(" ").Append(style);
    else if (style.Contains("Condensed"))
        name.Append(" Condensed");
    return name;
}

int FamilyOf(FT_Face face, const string8& name) {
    if (name == "Times" || name == "Times New Roman") return KS_FONT_FAMILY_SERIF;
    if (FT_IS_FIXED_WIDTH(face)) return KS_FONT_FAMILY_MONOSPACE;
    // "DejaVu Serif", "Liberation Serif", "PT Serif" ... are serif faces, not sans-serif.
    if (name.Contains("Serif") && !name.Contains("Sans")) return KS_FONT_FAMILY_SERIF;
    return KS_FONT_FAMILY_SANS_SERIF;
}

// Reasons a system face is refused; null when it is usable.
const char* RefusalOf(FT_Face face) {
    if (!FT_IS_SCALABLE(face)) return "font is not scalable";
    bool missing = false;
    for (const char* c = kMandatoryChars; *c; ++c) {
        if (FT_Get_Char_Index(face, FT_ULong(*c)) == 0) {
            LogWarn("Required char not found in font: %04x", unsigned(*c));
            missing = true;
        }
    }
    return missing ? "no mandatory characters in charset" : nullptr;
}

}  // namespace

KsFontManager* GetFontManager() {
    return gFontManager.get();
}

bool CreateFontManager(const string8& fontDirectory) {
    gFontManager.reset();
    auto manager = std::make_unique<KsFreeTypeFontManager>();
    if (!manager->Init(fontDirectory)) return false;
    gFontManager = std::move(manager);
    return true;
}

void DestroyFontManager() {
    gFontManager.reset();
}

int GetGlobalFontWeightAdjustment() {
    return gGlobalWeightAdjustment;
}

void SetGlobalFontWeightAdjustment(int extraWeight) {
    gGlobalWeightAdjustment = std::clamp(extraWeight, 0, 300);
}

KsFreeTypeFontManager::KsFreeTypeFontManager() : glyphCache_(MakeRef<KsGlyphCache>()) {}

KsFreeTypeFontManager::~KsFreeTypeFontManager() = default;

bool KsFreeTypeFontManager::Init(const string8& fontDirectory) {
    fontDirectory_ = fontDirectory;
    if (!library_) library_ = KsFreeTypeLibrary::Create();
    return !library_.IsNull();
}

string8 KsFreeTypeFontManager::pathOf(const string8& fileName) const {
    if (fileName.StartsWith("/") || fontDirectory_.Empty()) return fileName;
    string8 path = fontDirectory_;
    if (!path.EndsWith("/") && !path.EndsWith("\\")) path.Append("/");
    return path + fileName;
}

bool KsFreeTypeFontManager::wantsBitmapMode(int size) const {
    return antialiasMode_ == 0 || (antialiasMode_ == 1 && size < 20);
}

FT_Error KsFreeTypeFontManager::openFace(const FileRegistration& file, int index,
                                         FT_Face* face) const {
    if (file.buffer)
        return FT_New_Memory_Face(library_->Handle(), file.buffer->Data(),
                                  static_cast<FT_Long>(file.buffer->Size()), index, face);
    return FT_New_Face(library_->Handle(), file.openPath.CStr(), index, face);
}

bool KsFreeTypeFontManager::registerFaces(const FileRegistration& file) {
    if (!library_) return false;
    FT_Face face = nullptr;
    FT_Error error = openFace(file, 0, &face);
    if (error) {
        LogError(
            file.buffer ? "FT_New_Memory_Face returned error %d" : "FT_New_Face returned error %d",
            error);
        return false;
    }
    const int faceCount =
        static_cast<int>(std::clamp<FT_Long>(face->num_faces, 1, kMaxFacesPerFontFile));
    bool registered = false;
    for (int index = 0;;) {
        const char* refusal = file.checkFace ? RefusalOf(face) : nullptr;
        if (refusal) {
            LogWarn("    won't register font %s: %s", file.name.CStr(), refusal);
            FT_Done_Face(face);
            break;
        }
        KsFaceDef def;
        def.typeface = FaceNameOf(face);
        def.weight = (face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400;
        def.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) ? KS_ITALIC_REAL : KS_ITALIC_NONE;
        if (!file.faceName.Empty()) {
            def.typeface = file.faceName;
            def.weight = file.bold ? 700 : 400;
            def.italic = file.italic ? KS_ITALIC_REAL : KS_ITALIC_NONE;
        }
        def.family = FamilyOf(face, def.typeface);
        def.name = file.name;
        def.index = index;
        def.documentId = file.documentId;
        def.buffer = file.buffer;
        FT_Done_Face(face);
        face = nullptr;

        if (cache_.IsDuplicate(def)) {
            LogWarn("font definition is duplicate");
            return false;
        }
        cache_.AddRegistered(def);
        registered = true;
        if (def.italic == KS_ITALIC_NONE) {
            KsFaceDef slanted = def;
            slanted.italic = KS_ITALIC_SYNTHETIC;
            if (!cache_.IsDuplicate(slanted)) cache_.AddRegistered(slanted);
        }
        if (++index >= faceCount) break;
        if (openFace(file, index, &face) != 0) break;
    }
    return registered;
}

bool KsFreeTypeFontManager::RegisterFont(const string8& fileName) {
    FileRegistration file;
    file.name = fileName;
    file.openPath = pathOf(fileName);
    return registerFaces(file);
}

bool KsFreeTypeFontManager::RegisterFontBuffer(const string8& name, KsRef<KsFontBuffer> buffer) {
    if (!buffer || buffer->Size() < kMinDocumentFontBytes || buffer->Size() > kMaxDocumentFontBytes)
        return false;
    FileRegistration file;
    file.name = name;
    file.buffer = std::move(buffer);
    return registerFaces(file);
}

bool KsFreeTypeFontManager::RegisterDocumentFont(int documentId, KsContainer* container,
                                                 const string16& path, const string8& faceName,
                                                 bool bold, bool italic) {
    string8 path8 = String16ToUtf8(path);
    LogDebug("RegisterDocumentFont(documentId=%d, path=%s)", documentId, path8.CStr());
    if (cache_.HasDocumentFont(documentId, path8)) return true;
    if (!container) return false;
    KsRef<KsStream> stream = container->OpenStream(path, KS_MODE_READ);
    if (!stream) return false;
    ks_pos_t size = stream->GetSize();
    if (size == KS_POS_UNKNOWN || size < ks_pos_t(kMinDocumentFontBytes) ||
        size > ks_pos_t(kMaxDocumentFontBytes)) {
        LogError("RegisterDocumentFont: font file size %lld is out of range",
                 static_cast<long long>(size));
        return false;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (stream->SetPos(0) != 0 || !stream->ReadExact(bytes.data(), size)) return false;
    return RegisterDocumentFontBuffer(documentId, path8, MakeRef<KsFontBuffer>(std::move(bytes)),
                                      faceName, bold, italic);
}

bool KsFreeTypeFontManager::RegisterDocumentFontBuffer(int documentId, const string8& path,
                                                       KsRef<KsFontBuffer> buffer,
                                                       const string8& faceName, bool bold,
                                                       bool italic) {
    if (cache_.HasDocumentFont(documentId, path)) return true;
    if (!buffer || buffer->Size() < kMinDocumentFontBytes || buffer->Size() > kMaxDocumentFontBytes)
        return false;
    FileRegistration file;
    file.name = path;
    file.buffer = std::move(buffer);
    file.documentId = documentId;
    file.checkFace = false;
    file.faceName = faceName;
    file.bold = bold;
    file.italic = italic;
    return registerFaces(file);
}

void KsFreeTypeFontManager::ReleaseDocumentFonts(int documentId) {
    cache_.ReleaseDocumentFonts(documentId);
}

KsRef<KsFont> KsFreeTypeFontManager::embolden(const KsFaceDef& def, KsRef<KsFont> font) {
    int target = std::min(def.weight + 200, 900);
    LogDebug("font: apply Embolding to increase weight from %d to %d", def.weight,
             def.weight + 200);
    KsRef<KsFont> bold(new KsFontBoldTransform(std::move(font), glyphCache_));
    KsFaceDef boldDef = def;
    boldDef.weight = target;
    cache_.AddInstance(boldDef, bold);
    return bold;
}

KsRef<KsFont> KsFreeTypeFontManager::GetFont(int size, int weight, bool italic, int family,
                                             const string8& typeface, int documentId) {
    if (!library_ || size < 1 || size > kMaxFontPixelSize) return nullptr;
    KsFaceDef request;
    request.size = size;
    request.weight = weight;
    request.italic = italic ? KS_ITALIC_REAL : KS_ITALIC_NONE;
    request.family = family;
    request.typeface = typeface;
    request.documentId = documentId;

    KsFontCache::Found found = cache_.Find(request);
    if (!found.item) return nullptr;
    // Copies: adding instances below may move the lists.
    const KsFaceDef item = found.item->def;
    KsRef<KsFont> existing = found.item->font;
    if (found.isInstance && existing) {
        if (weight - item.weight < 200) return existing;
        return embolden(item, existing);
    }

    KsFaceLoadParams params;
    params.index = item.index;
    params.size = size;
    params.syntheticItalic = italic && item.italic != KS_ITALIC_REAL;
    params.bitmapMode = wantsBitmapMode(size);
    params.hintingMode = hintingMode_;
    if (item.buffer)
        params.buffer = item.buffer;
    else
        params.path = pathOf(item.name);
    KsRef<KsFreeTypeFace> face(new KsFreeTypeFace(library_, glyphCache_, item.name, item.family));
    if (!face->loadFace(params)) return nullptr;
    face->setKerning(kerning_);
    face->setTypeFace(item.typeface);

    KsFaceDef instance = item;
    instance.size = size;
    if (params.syntheticItalic) instance.italic = KS_ITALIC_REAL;
    cache_.AddInstance(instance, face);
    if (weight - item.weight >= 200) return embolden(instance, face);
    return face;
}

bool KsFreeTypeFontManager::SetFallbackFace(const string8& face) {
    if (face != fallbackFace_) {
        gc();
        LogDebug("Looking for fallback font %s", face.CStr());
        KsFontCache::Found found = face.Empty() ? KsFontCache::Found{} : cache_.FindFallback(face);
        fallbackFace_ = found.item ? face : string8();
        // Widths and glyphs taken from the old fallback face would stay wrong.
        clearGlyphCache();
        for (const auto& item : cache_.Instances())
            if (auto* ft = dynamic_cast<KsFreeTypeFace*>(item->font.Get())) ft->resetFallback();
    }
    return !fallbackFace_.Empty();
}

KsRef<KsFont> KsFreeTypeFontManager::GetFallbackFont(int size) {
    if (fallbackFace_.Empty()) return nullptr;
    // A few sizes serve all: fallback characters are rare.
    if (size >= 41)
        size -= size % 8;
    else if (size > 28)
        size -= size % 4;
    else if (size > 16)
        size -= size % 2;
    for (const auto& item : cache_.Instances()) {
        const KsFaceDef& d = item->def;
        if (item->font && d.typeface == fallbackFace_ && d.size == size &&
            d.italic == KS_ITALIC_NONE && d.weight <= 400)
            return item->font;
    }
    return GetFont(size, 400, false, KS_FONT_FAMILY_SANS_SERIF, fallbackFace_, -1);
}

void KsFreeTypeFontManager::gc() {
    cache_.Gc();
}

void KsFreeTypeFontManager::clearGlyphCache() {
    glyphCache_->Clear();
}

int KsFreeTypeFontManager::GetHash(int documentId) const {
    uint32_t hash =
        cache_.DefinitionsHash(documentId) * 75u + static_cast<uint32_t>(fallbackFace_.Hash());
    return static_cast<int>(hash);
}

void KsFreeTypeFontManager::SetAntialiasMode(int mode) {
    antialiasMode_ = mode;
    gc();
    clearGlyphCache();
    for (const auto& item : cache_.Instances())
        if (item->font) item->font->setBitmapMode(wantsBitmapMode(item->font->getSize()));
}

void KsFreeTypeFontManager::SetKerning(bool on) {
    kerning_ = on;
    gc();
    clearGlyphCache();
    for (const auto& item : cache_.Instances())
        if (item->font) item->font->setKerning(on);
}

void KsFreeTypeFontManager::SetHintingMode(int mode) {
    if (mode == hintingMode_) return;
    LogDebug("Hinting mode is changed: %d", mode);
    hintingMode_ = mode;
    gc();
    clearGlyphCache();
    for (const auto& item : cache_.Instances())
        if (item->font) item->font->setHintingMode(mode);
}
