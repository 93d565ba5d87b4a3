// The ocean's arithmetic is rounded operation by operation, as written: no fused multiply-adds,
// whatever the target. The batched loops then give exactly the bits of the plain code they stand
// for, and a seed gives the same sea with any build flags. Every ocean file (and every test that
// keeps a plain form as its reference) includes this first.
#pragma once

#if defined(__clang__)
#pragma clang fp contract(off)
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif
