// Hand-built parse trees for the page tests: records come from calloc, as
// the parser library's own do, so HTMLFreeTree releases them.
#pragma once

#include <initializer_list>
#include <string>

#include "htmlparse.h"

// The library's element code for `name` (any letter case); fails the test
// when the library has none.
int CodeOf(const std::string& name);

// The library's name of `code`, to spell expected output.
std::string NameOf(int code);

block* Element(int code, std::initializer_list<block*> children = {}, unsigned flags = 0);
block* Element(const std::string& name, std::initializer_list<block*> children = {},
               unsigned flags = 0);
block* Text(const std::string& text);
block* Comment(const std::string& body, unsigned flags = 0);
block* Doctype(const std::string& text);
// An element without code of its own, stored as "<name".
block* UnknownElement(const std::string& name, std::initializer_list<block*> children = {});

// Appends an attribute; a null `value` gives a bare name.
void AddAttr(block* element, int code, const std::string& name, const char* value,
             unsigned flags = AF_DOUBLE_QUOTED);

// Links `children` after the existing children of `parent`.
void Append(block* parent, std::initializer_list<block*> children);

// The root container with HTML > (HEAD, BODY > `body`) under it; `*body_out`
// receives BODY.
block* Page(std::initializer_list<block*> body, block** body_out = nullptr);

// What dump_tree writes for `top` at `level`.
std::string Dump(block* top, int level = 0);
