// The declarative syntax of Slate (SlateCore): SNew(WidgetType).Argument(Value)[Child], and the macros widgets
// declare their arguments with (SLATE_BEGIN_ARGS, SLATE_ATTRIBUTE, SLATE_ARGUMENT, SLATE_EVENT,
// SLATE_DEFAULT_SLOT, SLATE_END_ARGS).
#pragma once

#include "CoreMinimal.h"
#include "Misc/Attribute.h"
#include "Widgets/SWidget.h"
#include "Widgets/SNullWidget.h"

/** The arguments every widget takes. */
template <typename WidgetType>
struct TSlateBaseNamedArgs
{
	typedef typename WidgetType::FArguments WidgetArgsType;

	WidgetArgsType& IsEnabled(TAttribute<bool> InIsEnabled)
	{
		_IsEnabled = MoveTemp(InIsEnabled);
		return Me();
	}

	WidgetArgsType& Me() { return *(static_cast<WidgetArgsType*>(this)); }

	TAttribute<bool> _IsEnabled = true;
};

#define SLATE_BEGIN_ARGS(InWidgetType) \
	public: \
	struct FArguments : public TSlateBaseNamedArgs<InWidgetType> \
	{ \
		typedef FArguments WidgetArgsType; \
		FArguments()

#define SLATE_END_ARGS() \
	};

#define SLATE_ATTRIBUTE(AttrType, AttrName) \
	TAttribute<AttrType> _##AttrName; \
	WidgetArgsType& AttrName(TAttribute<AttrType> InAttribute) \
	{ \
		_##AttrName = MoveTemp(InAttribute); \
		return Me(); \
	}

#define SLATE_ARGUMENT(ArgType, ArgName) \
	ArgType _##ArgName{}; \
	WidgetArgsType& ArgName(ArgType InArg) \
	{ \
		_##ArgName = InArg; \
		return Me(); \
	}

// A raw pointer to the handler's object is bound as a shared pointer (the object must derive from
// TSharedFromThis), as the engine's syntax does; _Raw binds it without a shared reference.
#define SLATE_EVENT(DelegateName, EventName) \
	DelegateName _##EventName; \
	WidgetArgsType& EventName(const DelegateName& InDelegate) \
	{ \
		_##EventName = InDelegate; \
		return Me(); \
	} \
	template <class UserClass, typename MethodType> \
	WidgetArgsType& EventName(UserClass* InUserObject, MethodType InFunc) \
	{ \
		_##EventName = DelegateName::CreateSP(InUserObject, InFunc); \
		return Me(); \
	} \
	template <class UserClass, typename MethodType> \
	WidgetArgsType& EventName(const TSharedRef<UserClass>& InUserObjectRef, MethodType InFunc) \
	{ \
		_##EventName = DelegateName::CreateSP(InUserObjectRef, InFunc); \
		return Me(); \
	} \
	template <class UserClass, typename MethodType> \
	WidgetArgsType& EventName##_Raw(UserClass* InUserObject, MethodType InFunc) \
	{ \
		_##EventName = DelegateName::CreateRaw(InUserObject, InFunc); \
		return Me(); \
	} \
	template <typename FunctorType> \
	WidgetArgsType& EventName##_Lambda(FunctorType&& InFunctor) \
	{ \
		_##EventName = DelegateName::CreateLambda(Forward<FunctorType>(InFunctor)); \
		return Me(); \
	}

#define SLATE_DEFAULT_SLOT(DeclarationType, SlotName) \
	TSharedRef<SWidget> _##SlotName = SNullWidget::NullWidget; \
	DeclarationType& operator[](const TSharedRef<SWidget>& InChild) \
	{ \
		_##SlotName = InChild; \
		return Me(); \
	}

/** What SNew builds on: the new widget, constructed with its arguments by operator<<=. */
template <typename WidgetType>
struct TDecl
{
	TDecl(const ANSICHAR* InType, const ANSICHAR* InFile, int32 OnLine)
		: Widget(MakeShared<WidgetType>())
	{
		Widget->SetDebugInfo(InType, InFile, OnLine);
	}

	/** Keeps the new widget in a shared pointer as well (SAssignNew). */
	template <typename ExposeAsWidgetType>
	TDecl&& Expose(TSharedPtr<ExposeAsWidgetType>& OutVarToInit) &&
	{
		OutVarToInit = Widget;
		return MoveTemp(*this);
	}

	TSharedRef<WidgetType> operator<<=(const typename WidgetType::FArguments& InArgs) &&
	{
		Widget->SetEnabled(InArgs._IsEnabled);
		Widget->Construct(InArgs);
		return Widget;
	}

	TSharedRef<WidgetType> Widget;
};

template <typename WidgetType>
TDecl<WidgetType> MakeTDecl(const ANSICHAR* InType, const ANSICHAR* InFile, int32 OnLine)
{
	return TDecl<WidgetType>(InType, InFile, OnLine);
}

#define SNew(WidgetType, ...) MakeTDecl<WidgetType>(#WidgetType, __FILE__, __LINE__) <<= WidgetType::FArguments()

#define SAssignNew(ExposeAs, WidgetType, ...) MakeTDecl<WidgetType>(#WidgetType, __FILE__, __LINE__).Expose(ExposeAs) <<= WidgetType::FArguments()
