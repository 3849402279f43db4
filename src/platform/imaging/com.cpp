#include "platform/imaging/imaging.h"

#include "platform/fault_injection.h"
#include "platform/imaging/imaging_internal.h"

namespace orvendale::platform {
namespace {

// Each thread keeps its own count and model, as COM does: an initialisation on one
// thread says nothing about another.
thread_local int initializationDepth = 0;
thread_local std::uint32_t threadingModel = kMultithreaded;

}  // namespace

HResult CoInitializeEx(void* reserved, std::uint32_t flags) {
  if (reserved != nullptr) return E_INVALIDARG;
  if (flags != kMultithreaded && flags != kApartmentThreaded) return E_INVALIDARG;
  if (initializationDepth > 0) {
    if (flags != threadingModel) return RPC_E_CHANGED_MODE;
    ++initializationDepth;
    return S_FALSE;
  }
  threadingModel = flags;
  initializationDepth = 1;
  return S_OK;
}

void CoUninitialize() {
  if (initializationDepth > 0) --initializationDepth;
}

int ComInitializationDepth() { return initializationDepth; }

HResult CoCreateInstance(const Guid& classId, void* outer, std::uint32_t context,
                         const Guid& interfaceId, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (initializationDepth == 0) return CO_E_NOTINITIALIZED;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if (classId != kImagingFactoryClass || (context & kInProcessServer) == 0) {
    return REGDB_E_CLASSNOTREG;
  }
  if (interfaceId != kImagingFactoryInterface) return E_NOINTERFACE;
  if (ShouldFail(FaultPoint::kCreateImagingFactory)) return E_FAIL;
  ImagingFactory* factory = NewImagingFactory();
  if (factory == nullptr) return E_OUTOFMEMORY;
  *object = factory;
  return S_OK;
}

}  // namespace orvendale::platform
