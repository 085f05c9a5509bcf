// Included first in every file of the program (CMakeLists.txt): the program
// instantiates every library template it uses itself, in its own objects,
// built without exceptions. libstdc++ declares some of its templates
// "extern", so that their prebuilt instantiations in libstdc++.a are linked
// instead; those were compiled with exceptions and would bring the exception
// machinery back (GCC 13 on does so for std::wstring's _M_replace_cold, even
// in C++20). Every such declaration, in every version, is guarded by this one
// switch of libstdc++'s configuration, which is turned off here once its
// configuration has set it.
#pragma once
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0  // NOLINT(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp): libstdc++'s
