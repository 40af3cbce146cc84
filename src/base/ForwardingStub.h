// Forwarding stubs: a few bytes of code outside this module that stand where a window's
// procedure or an import slot pointed at us. Other plugins hook the same windows and patch the
// same imports after us and keep our address; once we let go, a stub hands their calls to what
// was there before us, even after this module is unloaded.
#pragma once

namespace stubs {

// Makes a stub whose callers reach target(bound, <their own arguments>): target is a
// __stdcall function taking one argument more than the stub's callers pass, and ahead of
// theirs. Null when no memory could be had.
void* MakeStub(const void* bound, const void* target);

// Points the stub at another target. One aligned word is written, so a call entering the stub
// meanwhile, on any thread, takes either the old target or the new one, never half of each.
void RetargetStub(void* stub, const void* target);

// The stub's current target and the value it passes first.
const void* StubTarget(const void* stub);
const void* StubBound(const void* stub);

// A __stdcall target outside this module for stubs whose bound value is itself a function of
// the callers' signature: it drops the bound value from the arguments and jumps to it.
const void* JumpToBound();

}  // namespace stubs
