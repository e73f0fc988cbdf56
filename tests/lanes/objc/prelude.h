// Included ahead of the Objective-C++ source in the test lane: nil as Apple's
// headers define it in C++, the null pointer constant nullptr (GNU's objc.h
// makes it (id)0, an object pointer that plain C pointers do not take).
#include <objc/objc.h>
#undef nil
#define nil nullptr
