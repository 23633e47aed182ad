// UInterface: the class side of an interface; the native side is the I-prefixed class.
#pragma once

#include "UObject/Object.h"

class COREUOBJECT_API UInterface : public UObject
{
	DECLARE_CLASS(UInterface, UObject, CLASS_Abstract | CLASS_Interface | CLASS_Native | CLASS_Intrinsic, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DECLARE_WITHIN(UObject)
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UInterface)

public:
	UInterface(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());
};

/** Base of native interface classes. */
class COREUOBJECT_API IInterface
{
protected:
	virtual ~IInterface() {}

public:
	typedef UInterface UClassType;
};
