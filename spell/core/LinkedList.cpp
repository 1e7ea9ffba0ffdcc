// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/LinkedList.h"

TLinkedList::~TLinkedList() { Clear(); }

void TLinkedList::Append(TLinkedListNode *node) {
  node->next_ = nullptr;
  if (tail_)
    tail_->next_ = node;
  else
    head_ = node;
  tail_ = node;
  ++count_;
}

void TLinkedList::Prepend(TLinkedListNode *node) {
  node->next_ = head_;
  head_ = node;
  if (!tail_) tail_ = node;
  ++count_;
}

void TLinkedList::InsertBefore(TLinkedListNode *member, TLinkedListNode *node) {
  if (!member || member == head_) {
    Prepend(node);
    return;
  }
  TLinkedListNode *before = head_;
  while (before && before->next_ != member) before = before->next_;
  if (!before) {  // not a member: keep the node rather than lose it
    Append(node);
    return;
  }
  node->next_ = member;
  before->next_ = node;
  ++count_;
}

bool TLinkedList::Remove(TLinkedListNode *node) {
  if (!node || !head_) return false;
  TLinkedListNode *before = nullptr;
  TLinkedListNode *at = head_;
  while (at && at != node) {
    before = at;
    at = at->next_;
  }
  if (!at) return false;
  if (before)
    before->next_ = node->next_;
  else
    head_ = node->next_;
  if (tail_ == node) tail_ = before;
  node->next_ = nullptr;
  --count_;
  return true;
}

void TLinkedList::Delete(TLinkedListNode *node) {
  if (Remove(node)) delete node;
}

void TLinkedList::Clear() {
  TLinkedListNode *at = head_;
  while (at) {
    TLinkedListNode *next = at->next_;
    delete at;
    at = next;
  }
  head_ = tail_ = nullptr;
  count_ = 0;
}
