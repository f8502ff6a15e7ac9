// Unit JwwGaibu: the exchange-file interface. Reads JWC_TEMP.TXT into the drawing state, the current
// attributes, the entity index and the fifteen entity stores, and writes the reply to the host.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "tempfile/EntityStore.h"
#include "tempfile/FileIo.h"
#include "tempfile/LineTokens.h"
#include "tempfile/ReaderState.h"
#include "tempfile/Records.h"
#include "tempfile/ReplyBuffer.h"
#include "tempfile/TextStorage.h"

namespace jwcount {

struct LineBatch;

// The ordered list of (kind, position) entries, one per stored element, in reading order.
using EntityIndex = EntityStore<EntityIndexEntry>;

// The fifteen entity stores, one per kind.
struct EntityStores {
  EntityStore<TJwwEntLine> Lines;                       // 1
  EntityStore<TJwwEntCircle> Circles;                   // 2
  EntityStore<TJwwEntArc> Arcs;                         // 3
  EntityStore<TJwwEntText> Texts;                       // 4
  EntityStore<TJwwEntPoint> Points;                     // 5
  EntityStore<TJwwEntMarker> Markers;                   // 6
  EntityStore<TJwwEntDim> Dimensions;                   // 7
  EntityStore<TJwwEntBlk> Blocks;                       // 8
  EntityStore<TJwwEntSolidLine> SolidLines;             // 9
  EntityStore<TJwwEntSolidTri> SolidTriangles;          // 10
  EntityStore<TJwwEntSolidQuad> SolidQuads;             // 11
  EntityStore<TJwwEntSolidCircle> SolidCircles;         // 12
  EntityStore<TJwwEntSolidCircle> SolidCircumferences;  // 13
  EntityStore<TJwwEntSolidRing> SolidRingsO;            // 14
  EntityStore<TJwwEntSolidRing> SolidRingsG;            // 15
};

// Calls f with the store of the given kind (1 to 15); does nothing for any other kind.
template <class Stores, class F>
void VisitStore(Stores& stores, int32_t kind, F&& f) {
  switch (kind) {
    case kLine:
      f(stores.Lines);
      break;
    case kCircle:
      f(stores.Circles);
      break;
    case kArc:
      f(stores.Arcs);
      break;
    case kText:
      f(stores.Texts);
      break;
    case kPoint:
      f(stores.Points);
      break;
    case kMarker:
      f(stores.Markers);
      break;
    case kDimension:
      f(stores.Dimensions);
      break;
    case kBlock:
      f(stores.Blocks);
      break;
    case kSolidLine:
      f(stores.SolidLines);
      break;
    case kSolidTriangle:
      f(stores.SolidTriangles);
      break;
    case kSolidQuad:
      f(stores.SolidQuads);
      break;
    case kSolidCircle:
      f(stores.SolidCircles);
      break;
    case kSolidCircumference:
      f(stores.SolidCircumferences);
      break;
    case kSolidRingO:
      f(stores.SolidRingsO);
      break;
    case kSolidRingG:
      f(stores.SolidRingsG);
      break;
    default:
      break;
  }
}

// All reader state in one object; a fresh object is in the state ResetReaderState gives.
class JwwGaibu {
 public:
  explicit JwwGaibu(FileSystem& fileSystem = NativeFileSystem());

  // --- Reading ---
  // Reads the file line by line into the state. False when there is no file, it cannot be opened, or
  // reading fails part way (what was read before stays). Never throws.
  bool ReadTempFile(const std::filesystem::path& path);
  // Stores one line (without its line break): a plain line's numbers straight away, any other line
  // tokenized and run through the record chain.
  void ParseLine(std::string_view line);

  // --- Resets ---
  // Every field of the drawing state and the current attributes to its default, then ResetEntityStores.
  void ResetReaderState();
  // The attributes in force back to their defaults, with the six first-seen flags set again.
  void ResetCurrentAttributes();
  // Empties the entity index, the fifteen stores, their texts and the reply buffer.
  void ResetEntityStores();
  // Frees the index, the stores, the reply buffer and the layer-name tables at the end of the run.
  void ReleaseEntityStores();
  // Gives back the memory the index, the stores and the texts took ahead of need, once the read is over.
  void ReleaseSpareMemory();

  // --- Entity index and stores ---
  void AppendEntityIndex(int32_t kind, int32_t position);
  void CopyCurrentAttributes(EntityAttributes& header) const;
  int32_t EntityCount() const { return Index.Count(); }
  const EntityIndexEntry& Entity(int32_t j) const { return Index[j]; }
  // The number of records held in the store of a kind; 0 for a kind outside 1 to 15.
  int32_t StoreCount(int32_t kind) const;
  // The header of the record at (kind, position); the kind must be 1 to 15 and the position below its count.
  const EntityAttributes& Header(int32_t kind, int32_t position) const;

  // --- Reply ---
  void AppendReplyLine(std::string_view text);
  void AppendReplyMessage(std::string_view message);
  // Writes the reply buffer to the path (created or replaced). On any failure the partly written file is
  // deleted and the result is false. Never throws.
  bool WriteReplyFile(const std::filesystem::path& path);

  // --- State, open to the count and to tests ---
  DrawingState Drawing;
  CurrentAttributes Current;
  EntityIndex Index;
  EntityStores Stores;
  TextStorage Texts;
  ReplyBuffer Reply;

 private:
  // Record chain, grouped by the first byte of the keyword; each returns true when it handled the line.
  bool ParseHeaderRecord(const LineTokens& t);     // "file=", "hk" ... "hn", "hp", "hhp"
  bool ParseAttributeRecord(const LineTokens& t);  // "lgn" ... "pn", "pl", "msg", "#"
  bool ParseShapeRecord(const LineTokens& t);      // "ci", "pt", "BL"
  bool ParseTextRecord(const LineTokens& t);       // the ten text keywords, and dimensions
  bool ParseSolidRecord(const LineTokens& t);      // "sl", "sc", "se", "so", "sg"
  void ParsePlainLine(const LineTokens& t);
  void StorePlainLine(const double (&values)[4]);
  // A line that is not a plain line: tokenized and run through the record chain.
  void ParseRecordLine(std::string_view line);
  // The lines of a batch, in order.
  void StoreLines(const LineBatch& batch);

  // Header and attribute records.
  void NoteFirstSeen(FirstSeen which, int32_t& firstValue, int32_t value);
  void ReadLayerGroup(const LineTokens& t);
  void ReadLayer(const LineTokens& t);
  void ReadLineColour(const LineTokens& t);
  void ReadLineType(const LineTokens& t);
  void ReadLineWidth(const LineTokens& t);
  void ReadFontName(const LineTokens& t);
  void ReadTextKind(const LineTokens& t);
  void ReadHpPoint(const LineTokens& t);
  void ReadHhpNumber(const LineTokens& t);

  // Storing an element: makes room in the store and the index first (this may throw), then counts both
  // and returns the new record with its header copied. The index never names a record that does not exist.
  template <class T>
  T& StoreEntity(int32_t kind, EntityStore<T>& store);
  // After a stored element: HhpNumber and AttributeFlags back to 0; all but a plain line also end a
  // polyline run and a pending dimension.
  void FinishEntity(bool plainLine);

  // Texts.
  TextRef StoreFontName();
  void FillText(TJwwEntText& text, int32_t textType, const LineTokens& t, TextRef fontName, TextRef body);

  // An "sl" solid of two, three or four corners.
  void ReadCornerSolid(const LineTokens& t, int corners);

  // Calls f with each of the fifteen stores.
  template <class F>
  void VisitAllStores(F f) {
    for (int32_t kind = kFirstEntityKind; kind <= kLastEntityKind; ++kind) VisitStore(Stores, kind, f);
  }

  FileSystem* fileSystem_;
  LineTokens tokens_;     // reused for every line
  TextRef lastFontName_;  // the stored copy of the font name the last text used
};

template <class T>
T& JwwGaibu::StoreEntity(int32_t kind, EntityStore<T>& store) {
  store.Reserve();
  Index.Reserve();
  AppendEntityIndex(kind, store.Count());
  T& record = store.Commit();
  CopyCurrentAttributes(record.Attrs);
  return record;
}

}  // namespace jwcount
