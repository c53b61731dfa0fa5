// Undirected graph with data on nodes and edges; nodes and edges are numbered in creation order.
#pragma once

#include <vector>

#include "lib/container_error.hpp"

struct node {
  int id;
};
struct edge {
  int id;
};

// The edges 0 .. n-1 of a graph, in creation order (the graph's edge order).
class edge_range {
 public:
  class iterator {
   public:
    explicit iterator(int id) : id_(id) {}
    edge operator*() const { return edge{id_}; }
    iterator& operator++() {
      ++id_;
      return *this;
    }
    bool operator!=(const iterator& other) const { return id_ != other.id_; }

   private:
    int id_;
  };

  explicit edge_range(int n) : n_(n) {}
  iterator begin() const { return iterator(0); }
  iterator end() const { return iterator(n_); }

 private:
  int n_;
};

template <class V, class E>
class UGRAPH {
 public:
  node new_node(const V& inf = V()) {
    nodes_.push_back(inf);
    incident_.emplace_back();
    return node{number_of_nodes() - 1};
  }
  edge new_edge(node a, node b, const E& inf = E()) {  // REQUIRES: a and b are nodes
    check(a);
    check(b);
    ends_.push_back({a, b});
    edges_.push_back(inf);
    const edge e{number_of_edges() - 1};
    incident_[a.id].push_back(e);
    if (b.id != a.id) incident_[b.id].push_back(e);
    return e;
  }

  int number_of_nodes() const { return static_cast<int>(nodes_.size()); }
  int number_of_edges() const { return static_cast<int>(edges_.size()); }
  edge_range all_edges() const { return edge_range(number_of_edges()); }

  V& operator[](node v) { return nodes_[check(v)]; }
  const V& operator[](node v) const { return nodes_[check(v)]; }
  E& operator[](edge e) { return edges_[check(e)]; }
  const E& operator[](edge e) const { return edges_[check(e)]; }

  node opposite(node v, edge e) const {  // the other end of e; REQUIRES: v is an end of e
    const Ends& ends = ends_[check(e)];
    if (ends.a.id == v.id) return ends.b;
    if (ends.b.id != v.id) container_error(1, "UGRAPH: node is not an end of the edge");
    return ends.a;
  }
  const std::vector<edge>& adj_edges(node v) const { return incident_[check(v)]; }

 private:
  struct Ends {
    node a;
    node b;
  };

  int check(node v) const {
    if (v.id < 0 || v.id >= number_of_nodes()) container_error(1, "UGRAPH: no such node");
    return v.id;
  }
  int check(edge e) const {
    if (e.id < 0 || e.id >= number_of_edges()) container_error(1, "UGRAPH: no such edge");
    return e.id;
  }

  std::vector<V> nodes_;
  std::vector<E> edges_;
  std::vector<Ends> ends_;
  std::vector<std::vector<edge>> incident_;
};
