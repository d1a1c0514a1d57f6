// TResponseTable: a class's table of message and command entries, chained to
// its base class's table. Searching visits the own entries first, then the
// base's, so a derived class overrides a binding just by listing it.
// Platform-free: the entry type (message number, id, dispatcher) is supplied
// by the window layer.
#pragma once

template <class Entry>
struct TResponseTable {
  const Entry* Entries;        // ends with an entry whose Dispatch is null
  const TResponseTable* Base;  // the base class's table, or null for the root

  template <class Match>
  const Entry* Find(Match match) const {
    for (const TResponseTable* table = this; table; table = table->Base)
      for (const Entry* entry = table->Entries; entry->Dispatch; ++entry)
        if (match(*entry)) return entry;
    return nullptr;
  }
};
