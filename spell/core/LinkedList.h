// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A singly linked list that owns its nodes. Dictionary files and ranked suggestions are kept
// in it; a node type derives from TLinkedListNode.
class TLinkedListNode {
 public:
  TLinkedListNode() = default;
  TLinkedListNode(const TLinkedListNode &) = delete;
  TLinkedListNode &operator=(const TLinkedListNode &) = delete;
  virtual ~TLinkedListNode() = default;

  TLinkedListNode *Next() const { return next_; }

 private:
  friend class TLinkedList;
  TLinkedListNode *next_ = nullptr;
};

class TLinkedList {
 public:
  TLinkedList() = default;
  TLinkedList(const TLinkedList &) = delete;
  TLinkedList &operator=(const TLinkedList &) = delete;
  virtual ~TLinkedList();

  TLinkedListNode *Head() const { return head_; }
  TLinkedListNode *Tail() const { return tail_; }
  int Count() const { return count_; }

  // Each of these takes ownership of node.
  void Append(TLinkedListNode *node);
  void Prepend(TLinkedListNode *node);
  // Puts node before member; with member the head or null this is Prepend.
  void InsertBefore(TLinkedListNode *member, TLinkedListNode *node);

  // Unlinks a member and hands its ownership back to the caller; false when it is no member.
  bool Remove(TLinkedListNode *node);
  // Unlinks a member and destroys it.
  void Delete(TLinkedListNode *node);
  void Clear();

 private:
  TLinkedListNode *head_ = nullptr;
  TLinkedListNode *tail_ = nullptr;
  int count_ = 0;
};
