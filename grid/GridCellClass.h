#pragma once
// Run-time class information of the cell family: a class's name, its base and a factory, so that
// a cell's class can be tested and named, and a cell of a class chosen at run time created.
class CGridCellBase;

struct GridCellClass {
  const char* name;
  const GridCellClass* base;   // null for the root of a family
  CGridCellBase* (*create)();  // null for abstract classes

  bool IsDerivedFrom(const GridCellClass* other) const {
    for (const GridCellClass* c = this; c; c = c->base)
      if (c == other) return true;
    return false;
  }
};

// Declares the class information of a cell class; pair with GRID_CELL_IMPLEMENT in its .cpp.
#define GRID_CELL_DECLARE(Class)                          \
 public:                                                  \
  static const GridCellClass& ClassInfo();                \
  const GridCellClass& GetRuntimeClass() const override { \
    return ClassInfo();                                   \
  }

#define GRID_CELL_IMPLEMENT(Class, Base)                                                                       \
  const GridCellClass& Class::ClassInfo() {                                                                    \
    static const GridCellClass info{#Class, &Base::ClassInfo(), []() -> CGridCellBase* { return new Class; }}; \
    return info;                                                                                               \
  }
