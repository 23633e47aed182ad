// Declaration macros for native delegate types.
#pragma once

#define DECLARE_DELEGATE(DelegateName) typedef TDelegate<void()> DelegateName
#define DECLARE_DELEGATE_OneParam(DelegateName, Param1Type) typedef TDelegate<void(Param1Type)> DelegateName
#define DECLARE_DELEGATE_TwoParams(DelegateName, Param1Type, Param2Type) typedef TDelegate<void(Param1Type, Param2Type)> DelegateName
#define DECLARE_DELEGATE_ThreeParams(DelegateName, Param1Type, Param2Type, Param3Type) typedef TDelegate<void(Param1Type, Param2Type, Param3Type)> DelegateName
#define DECLARE_DELEGATE_FourParams(DelegateName, Param1Type, Param2Type, Param3Type, Param4Type) typedef TDelegate<void(Param1Type, Param2Type, Param3Type, Param4Type)> DelegateName
#define DECLARE_DELEGATE_FiveParams(DelegateName, Param1Type, Param2Type, Param3Type, Param4Type, Param5Type) typedef TDelegate<void(Param1Type, Param2Type, Param3Type, Param4Type, Param5Type)> DelegateName
#define DECLARE_DELEGATE_SixParams(DelegateName, Param1Type, Param2Type, Param3Type, Param4Type, Param5Type, Param6Type) typedef TDelegate<void(Param1Type, Param2Type, Param3Type, Param4Type, Param5Type, Param6Type)> DelegateName

#define DECLARE_DELEGATE_RetVal(ReturnValueType, DelegateName) typedef TDelegate<ReturnValueType()> DelegateName
#define DECLARE_DELEGATE_RetVal_OneParam(ReturnValueType, DelegateName, Param1Type) typedef TDelegate<ReturnValueType(Param1Type)> DelegateName
#define DECLARE_DELEGATE_RetVal_TwoParams(ReturnValueType, DelegateName, Param1Type, Param2Type) typedef TDelegate<ReturnValueType(Param1Type, Param2Type)> DelegateName
#define DECLARE_DELEGATE_RetVal_ThreeParams(ReturnValueType, DelegateName, Param1Type, Param2Type, Param3Type) typedef TDelegate<ReturnValueType(Param1Type, Param2Type, Param3Type)> DelegateName
#define DECLARE_DELEGATE_RetVal_FourParams(ReturnValueType, DelegateName, Param1Type, Param2Type, Param3Type, Param4Type) typedef TDelegate<ReturnValueType(Param1Type, Param2Type, Param3Type, Param4Type)> DelegateName

#define DECLARE_MULTICAST_DELEGATE(DelegateName) typedef TMulticastDelegate<void()> DelegateName
#define DECLARE_MULTICAST_DELEGATE_OneParam(DelegateName, Param1Type) typedef TMulticastDelegate<void(Param1Type)> DelegateName
#define DECLARE_MULTICAST_DELEGATE_TwoParams(DelegateName, Param1Type, Param2Type) typedef TMulticastDelegate<void(Param1Type, Param2Type)> DelegateName
#define DECLARE_MULTICAST_DELEGATE_ThreeParams(DelegateName, Param1Type, Param2Type, Param3Type) typedef TMulticastDelegate<void(Param1Type, Param2Type, Param3Type)> DelegateName
#define DECLARE_MULTICAST_DELEGATE_FourParams(DelegateName, Param1Type, Param2Type, Param3Type, Param4Type) typedef TMulticastDelegate<void(Param1Type, Param2Type, Param3Type, Param4Type)> DelegateName
#define DECLARE_MULTICAST_DELEGATE_FiveParams(DelegateName, Param1Type, Param2Type, Param3Type, Param4Type, Param5Type) typedef TMulticastDelegate<void(Param1Type, Param2Type, Param3Type, Param4Type, Param5Type)> DelegateName
#define DECLARE_MULTICAST_DELEGATE_SixParams(DelegateName, Param1Type, Param2Type, Param3Type, Param4Type, Param5Type, Param6Type) typedef TMulticastDelegate<void(Param1Type, Param2Type, Param3Type, Param4Type, Param5Type, Param6Type)> DelegateName

// Events: multicast delegates that only their owning type may broadcast in the engine. The stand-in does not
// restrict Broadcast to the owner (the owner type is not used).
#define DECLARE_EVENT(OwningType, EventName) typedef TMulticastDelegate<void()> EventName
#define DECLARE_EVENT_OneParam(OwningType, EventName, Param1Type) typedef TMulticastDelegate<void(Param1Type)> EventName
