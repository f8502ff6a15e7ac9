// The entity index and the common steps of storing an element.
#include "tempfile/JwwGaibu.h"

namespace jwcount {

void JwwGaibu::AppendEntityIndex(int32_t kind, int32_t position) {
  Index.Reserve();
  Index.Commit() = EntityIndexEntry{kind, position};
}

void JwwGaibu::CopyCurrentAttributes(EntityAttributes& header) const {
  header.HhpNumber = Current.HhpNumber;
  header.LayerGroup = Current.LayerGroup;
  header.Layer = Current.Layer;
  header.LineColour = Current.LineColour;
  header.LineType = Current.LineType;
  header.LineWidth = Current.LineWidth;
  header.AttributeFlags = Current.AttributeFlags;
}

void JwwGaibu::FinishEntity(bool plainLine) {
  Current.HhpNumber = 0;
  Current.AttributeFlags = 0;
  if (!plainLine) {
    Current.InPolyline = false;
    Current.DimensionPending = false;
  }
}

int32_t JwwGaibu::StoreCount(int32_t kind) const {
  int32_t count = 0;
  VisitStore(Stores, kind, [&](const auto& store) { count = store.Count(); });
  return count;
}

const EntityAttributes& JwwGaibu::Header(int32_t kind, int32_t position) const {
  const EntityAttributes* header = nullptr;
  VisitStore(Stores, kind, [&](const auto& store) { header = &store[position].Attrs; });
  return *header;
}

}  // namespace jwcount
