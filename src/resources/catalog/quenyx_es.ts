<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>Quenyx</name>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>AccountingAndUBSMonitor</source>
        <translation>Contabilización y Monitorización USB</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Acción</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Agregar</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>Aplicación</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>Billing</source>
        <translation>Contabilización</translation>
    </message>
    <message>
        <source>BillingDisable</source>
        <translation>Deshabilitar contabilización</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>ChooseSequenceValueName</source>
        <translation>Elija el nombre del valor de cadena.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>ControlNotInstalled</source>
        <translation>Quenyx Agent no está instalado en este equipo.</translation>
    </message>
    <message>
        <source>DCSServerDescription</source>
        <translation>Dirección del servidor DCS al que informa el agente.</translation>
    </message>
    <message>
        <source>Datas</source>
        <translation>Datos</translation>
    </message>
    <message>
        <source>DefineTraceConfigs</source>
        <translation>Defina la configuración de seguimiento.</translation>
    </message>
    <message>
        <source>DeleteConfirmSequenceValue</source>
        <translation>¿Está seguro de que desea eliminar este valor de cadena?</translation>
    </message>
    <message>
        <source>DeniedAccess</source>
        <translation>Acceso denegado.</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Descripción</translation>
    </message>
    <message>
        <source>Directory</source>
        <translation>Carpeta</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>Deshabilitar</translation>
    </message>
    <message>
        <source>DisableAccountInformationDescription</source>
        <translation>Si está habilitado, el agente no recopila la información de cuenta de los usuarios que imprimen.</translation>
    </message>
    <message>
        <source>DisableAccountsDescription</source>
        <translation>Si está habilitado, la contabilización queda desactivada en todas las impresoras, salvo en las habilitadas una a una en sus propiedades.</translation>
    </message>
    <message>
        <source>DisablePoupaToner</source>
        <translation>Deshabilitar EcoToner</translation>
    </message>
    <message>
        <source>DisableSecurePrint</source>
        <translation>Deshabilitar impresión segura</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Deshabilitado</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modificar</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Habilitar</translation>
    </message>
    <message>
        <source>EnableSecurePrint2</source>
        <translation>Habilitar impresión segura</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Habilitado</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Completa</translation>
    </message>
    <message>
        <source>InsertDataToSaveInRegistry</source>
        <translation>Introduzca los nuevos datos y haga clic en Modificar para guardarlos en el registro.</translation>
    </message>
    <message>
        <source>InsertNameAndValueToSaveInRegistry</source>
        <translation>Introduzca el nombre y los datos del valor de cadena y haga clic en Insertar para guardarlos en el registro.</translation>
    </message>
    <message>
        <source>InsertSequenceValueData</source>
        <translation>Introduzca los datos del valor de cadena.</translation>
    </message>
    <message>
        <source>LoadingPrinterListWait</source>
        <translation>Cargando la lista de impresoras, espere...</translation>
    </message>
    <message>
        <source>LocalIdentifier</source>
        <translation>Identificador local</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>NoPermissionPrinterProperties</source>
        <translation>No tiene permiso para cambiar las propiedades de esta impresora.</translation>
    </message>
    <message>
        <source>OnlyNotifications</source>
        <translation>Solo notificaciones</translation>
    </message>
    <message>
        <source>PopUpExpirationDescription</source>
        <translation>Tiempo, en segundos, tras el cual las ventanas emergentes del agente se cierran solas.</translation>
    </message>
    <message>
        <source>PoupaTonerName</source>
        <translation>EcoToner</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Impresora</translation>
    </message>
    <message>
        <source>Printers</source>
        <translation>Impresoras</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Propiedades</translation>
    </message>
    <message>
        <source>QuenyxAdminDescription</source>
        <translation>Aplicación para editar la configuración de Quenyx.</translation>
    </message>
    <message>
        <source>QuenyxAlteredControlConfigs</source>
        <translation>Se ha modificado la configuración de Quenyx Agent.</translation>
    </message>
    <message>
        <source>QuenyxRunAsAdminInWin7</source>
        <translation>En Windows 7 o posterior, ejecute Quenyx Agent Admin como administrador (haga clic con el botón derecho y elija Ejecutar como administrador).</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>ReleaserAddress</source>
        <translation>Dirección de Quenyx Releaser</translation>
    </message>
    <message>
        <source>ReleaserAddressRequired</source>
        <translation>Indique la dirección de Quenyx Releaser.</translation>
    </message>
    <message>
        <source>RestartQuenyx</source>
        <translation>¿Desea reiniciar Quenyx Agent ahora?</translation>
    </message>
    <message>
        <source>SecurePrintChoiceActivation</source>
        <translation>Permitir elegir entre imprimir el documento en el momento o retenerlo para liberarlo más tarde</translation>
    </message>
    <message>
        <source>SecurePrintRuleDescription</source>
        <translation>Todas sus impresoras de red quedarán habilitadas para la impresión segura. Si desea desactivarla en una impresora concreta, abra las propiedades de esa impresora.</translation>
    </message>
    <message>
        <source>SelectedInstallation</source>
        <translation>Instalación seleccionada</translation>
    </message>
    <message>
        <source>Settings02</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>StartingQuenyxWait</source>
        <translation>Iniciando Quenyx Agent, espere...</translation>
    </message>
    <message>
        <source>TimeUpdatePerfisDescription</source>
        <translation>Intervalo, en minutos, entre las actualizaciones de los perfiles de los usuarios.</translation>
    </message>
    <message>
        <source>ToChange</source>
        <translation>Modificar</translation>
    </message>
    <message>
        <source>ToInsert</source>
        <translation>Insertar</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Herramientas</translation>
    </message>
    <message>
        <source>Trace</source>
        <translation>Seguimiento</translation>
    </message>
    <message>
        <source>TraceFileNotWritten</source>
        <translation>No se pudieron leer ni escribir estos archivos de configuración de seguimiento; su nivel de seguimiento y su carpeta no se modificaron:</translation>
    </message>
    <message>
        <source>TracePathRequired</source>
        <translation>Indique la carpeta de los archivos de seguimiento.</translation>
    </message>
    <message>
        <source>USBMonitor</source>
        <translation>Monitorización USB</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Datos del valor</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versión</translation>
    </message>
    <message>
        <source>WaitRestartingQuenyx</source>
        <translation>Reiniciando los servicios de Quenyx Agent, espere...</translation>
    </message>
    <message>
        <source>WarningWatcher</source>
        <translation>Para activar el seguimiento del Watcher será necesario reiniciar el servicio manualmente.</translation>
    </message>
    <message>
        <source>WorkFolderDescription</source>
        <translation>Carpeta donde el agente guarda sus archivos de trabajo.</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>rlsSafePrint</source>
        <translation>Impresión segura</translation>
    </message>
</context>
</TS>
