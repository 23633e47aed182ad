// The frame a native function runs in. Calls made through ProcessEvent carry their parameter block
// as the frame's locals; the stand-in has no script bytecode, so Code is always null.
#pragma once

#include "UObject/Script.h"

class UFunction;

struct FFrame
{
public:
	UFunction* Node;
	UObject* Object;
	uint8* Code;
	uint8* Locals;

	FFrame(UObject* InObject, UFunction* InNode, void* InLocals, FFrame* InPreviousFrame = nullptr)
		: Node(InNode)
		, Object(InObject)
		, Code(nullptr)
		, Locals(static_cast<uint8*>(InLocals))
		, PreviousFrame(InPreviousFrame)
	{
	}

	FFrame* PreviousFrame;
};
