#pragma once

#include <cstdint>

#include "engine/core/KsRefCounter.h"
#include "engine/core/KsString.h"

class KsStream;
class TnPropContainer;

struct KsRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const KsRect&) const = default;
};

struct KsPoint {
    int x = 0, y = 0;
    bool operator==(const KsPoint&) const = default;
};

// Named text values with typed getters and setters. Keys are 8-bit (ASCII) texts, values string16;
// every typed value is kept as text: integers in decimal, booleans as "1"/"0", hex as "0x%08X",
// colours as "#%06x", rectangles as "{l,t,r,b}" and points as "{x,y}".
class TnPropAccessor : public KsRefCounter {
public:
    // The prefix added in front of keys when saving (empty for a container).
    virtual string8 keyPrefix() const = 0;
    virtual void removeAll() = 0;
    virtual int count() const = 0;
    virtual const string8& nameAt(int index) const = 0;
    virtual const string16& valueAt(int index) const = 0;
    virtual void setValueAt(int index, const string16& value) = 0;
    virtual bool contains(const char* key) const = 0;
    virtual bool readText(const char* key, string16& value) const = 0;
    // Replaces the value of an existing key or inserts a new entry in key order.
    virtual void writeText(const char* key, const string16& value) = 0;

    string16 readTextOr(const char* key, const char* defaultValue) const;
    string16 readTextOr(const char* key, const string16& defaultValue) const;
    void writeTextIfAbsent(const char* key, const string16& value);
    void writeTextIfAbsent(const char* key, const char* value);
    // An 8-bit text is taken as UTF-8.
    void writeText(const char* key, const char* value);
    void writeText(const char* key, const string8& value);

    // Stores the first allowed value when the stored text is not one of them (or is missing).
    void restrictToList(const char* key, const int* values, int valueCount);
    void restrictToList(const char* key, const char* const* values);

    [[nodiscard]] bool readInt(const char* key, int32_t& value) const;
    int32_t readIntOr(const char* key, int32_t defaultValue) const;
    void writeInt(const char* key, int32_t value);
    void writeIntIfAbsent(const char* key, int32_t value);
    void writeHex(const char* key, uint32_t value);
    void writeHexIfAbsent(const char* key, uint32_t value);
    [[nodiscard]] bool readBool(const char* key, bool& value) const;
    bool readBoolOr(const char* key, bool defaultValue) const;
    void writeBool(const char* key, bool value);
    [[nodiscard]] bool readInt64(const char* key, int64_t& value) const;
    int64_t readInt64Or(const char* key, int64_t defaultValue) const;
    void writeInt64(const char* key, int64_t value);
    [[nodiscard]] bool readColor(const char* key, uint32_t& value) const;
    uint32_t readColorOr(const char* key, uint32_t defaultValue) const;
    void writeColorIfAbsent(const char* key, uint32_t value);
    void writeColor(const char* key, uint32_t value);
    [[nodiscard]] bool readRect(const char* key, KsRect& value) const;
    KsRect readRectOr(const char* key, const KsRect& defaultValue) const;
    void writeRect(const char* key, const KsRect& value);
    [[nodiscard]] bool readPoint(const char* key, KsPoint& value) const;
    KsPoint readPointOr(const char* key, const KsPoint& defaultValue) const;
    void writePoint(const char* key, const KsPoint& value);

    // A live view of the entries under `prefix` (names seen without the prefix).
    virtual KsRef<TnPropAccessor> subset(const char* prefix) = 0;
    // A new container with copies of all entries.
    virtual KsRef<TnPropContainer> copy() const = 0;
    void copyAllFrom(const TnPropAccessor& other);

    // The line-oriented text form: "key=escaped UTF-8 value" lines.
    [[nodiscard]] bool loadText(KsStream& stream);
    [[nodiscard]] bool saveText(KsStream& stream) const;

    // Escaping of values in the text form: zero byte, LF, CR and backslash become \0, \n, \r, \\.
    static string8 EscapeValue(const string8& text);
    static string8 UnescapeValue(const char* text, int32_t length);
};

// Parsers of the typed text forms, shared with other readers of settings.
bool ParseBoolText(const string16& text, bool& value);
bool ParseColorText(const string16& text, uint32_t& value);
bool ParseRectText(const string16& text, KsRect& value);
bool ParsePointText(const string16& text, KsPoint& value);
