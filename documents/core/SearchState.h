// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "documents/core/TextFinder.h"

class TEditControl;

enum class TSearchResult { Found, NotFound, NoSearch };

// The last search of one document window: what Find Next repeats. Each window keeps its own,
// so searches in one window never affect another.
class TSearchState {
 public:
  // Records options as the last search when their find text is not empty.
  void Remember(const TSearchOptions &options);
  bool HasLastSearch() const;
  // The last search; only valid when HasLastSearch().
  const TSearchOptions &LastSearch() const;

  // Runs a search with options in edit and remembers it.
  TSearchResult Search(TEditControl &edit, const TSearchOptions &options);
  // Repeats the last search; NoSearch (nothing happens) when there is none.
  TSearchResult FindNext(TEditControl &edit);

 private:
  std::optional<TSearchOptions> last_;
};
