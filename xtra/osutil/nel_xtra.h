// nelXtra's class object, module state and what its method handlers reach.
#pragma once

#include "xtra/framework/xtra_framework.h"
#include "xtra/osutil/text_conversion.h"

constexpr XtraGuid kNelClassId = {0x4EF94A74, 0x88D4, 0x4AA6, {0x93, 0x7F, 0x46, 0x4A, 0xBF, 0xCE, 0xF7, 0x6C}};
constexpr uint32_t kNelVersion = 0x020100C0;

// The class object: the host's header, then the services held from create to destroy.
struct NelClassObject {
  XtraObjectHeader header;
  PlayerService* player;
  AuxiliaryService* auxiliary;
  NelValueService* value;
};


inline NelClassObject* NelInstance(IMoaMmXScript* script) {
  return reinterpret_cast<NelClassObject*>(InterfaceOwner(script));
}

// The host's stage window (an HWND) or null, through the script object's fifth operation.
void* StageWindowOf(IMoaMmXScript* script);

// Handlers for selectors 0..24 (nel_methods.cpp).
extern const XtraMethodTable kNelMethods;
