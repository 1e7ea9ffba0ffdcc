// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/SearchState.h"

#include "documents/core/FindReplace.h"

void TSearchState::Remember(const TSearchOptions &options) {
  if (!options.findText.isEmpty()) last_ = options;
}

bool TSearchState::HasLastSearch() const { return last_.has_value(); }

const TSearchOptions &TSearchState::LastSearch() const { return *last_; }

TSearchResult TSearchState::Search(TEditControl &edit, const TSearchOptions &options) {
  if (options.findText.isEmpty()) return TSearchResult::NoSearch;
  Remember(options);
  return FindReplace::Find(edit, options) ? TSearchResult::Found : TSearchResult::NotFound;
}

TSearchResult TSearchState::FindNext(TEditControl &edit) {
  if (!last_) return TSearchResult::NoSearch;
  return FindReplace::Find(edit, *last_) ? TSearchResult::Found : TSearchResult::NotFound;
}
