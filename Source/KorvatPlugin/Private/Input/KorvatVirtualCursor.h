// The cursor of the wrapping platform application: a position the host's pointer moves, and nothing on screen.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/ICursor.h"

/** A cursor that only remembers where it was put; the host draws its own pointer. */
class FKorvatVirtualCursor : public ICursor
{
public:
	//~ Begin ICursor Interface
	virtual void* CreateCursorFromFile(const FString& InPathToCursorWithoutExtension, FVector2D HotSpot) override { return nullptr; }
	virtual bool IsCreateCursorFromRGBABufferSupported() const override { return false; }
	virtual void* CreateCursorFromRGBABuffer(const FColor* Pixels, int32 Width, int32 Height, FVector2D InHotSpot) override { return nullptr; }
	virtual FVector2D GetPosition() const override { return Position; }
	virtual void SetPosition(const int32 X, const int32 Y) override { Position = FVector2D(static_cast<double>(X), static_cast<double>(Y)); }
	virtual void SetType(const EMouseCursor::Type InNewCursor) override {}
	virtual EMouseCursor::Type GetType() const override { return EMouseCursor::Default; }
	virtual void GetSize(int32& Width, int32& Height) const override {}
	virtual void Show(bool bShow) override {}
	virtual void Lock(const RECT* const Bounds) override {}
	virtual void SetTypeShape(EMouseCursor::Type InCursorType, void* CursorHandle) override {}
	//~ End ICursor Interface

private:
	FVector2D Position = FVector2D(0.0, 0.0);
};
