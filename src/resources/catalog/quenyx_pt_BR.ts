<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="en">
<context>
    <name>Quenyx</name>
    <message>
        <source>About</source>
        <translation>Sobre</translation>
    </message>
    <message>
        <source>AccountingAndUBSMonitor</source>
        <translation>Contabilização e Monitoramento USB</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Ação</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Incluir</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>Aplicativo</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>Billing</source>
        <translation>Contabilização</translation>
    </message>
    <message>
        <source>BillingDisable</source>
        <translation>Desabilitar contabilização</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>ChooseSequenceValueName</source>
        <translation>Escolha o nome do valor de sequência.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>ControlNotInstalled</source>
        <translation>O Quenyx Agent não está instalado neste computador.</translation>
    </message>
    <message>
        <source>DCSServerDescription</source>
        <translation>Endereço do servidor DCS ao qual o agente se reporta.</translation>
    </message>
    <message>
        <source>Datas</source>
        <translation>Dados</translation>
    </message>
    <message>
        <source>DefineTraceConfigs</source>
        <translation>Defina as configurações de trace.</translation>
    </message>
    <message>
        <source>DeleteConfirmSequenceValue</source>
        <translation>Tem certeza de que deseja excluir este valor de sequência?</translation>
    </message>
    <message>
        <source>DeniedAccess</source>
        <translation>Acesso negado.</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Descrição</translation>
    </message>
    <message>
        <source>Directory</source>
        <translation>Diretório</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>Desabilitar</translation>
    </message>
    <message>
        <source>DisableAccountInformationDescription</source>
        <translation>Quando habilitado, o agente não coleta as informações de conta dos usuários que imprimem.</translation>
    </message>
    <message>
        <source>DisableAccountsDescription</source>
        <translation>Quando habilitado, a contabilização fica desligada em todas as impressoras, exceto nas habilitadas individualmente em suas propriedades.</translation>
    </message>
    <message>
        <source>DisablePoupaToner</source>
        <translation>Desabilitar EcoToner</translation>
    </message>
    <message>
        <source>DisableSecurePrint</source>
        <translation>Desabilitar impressão segura</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Desabilitado</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Alterar</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Habilitar</translation>
    </message>
    <message>
        <source>EnableSecurePrint2</source>
        <translation>Habilitar impressão segura</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Habilitado</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Excluir</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Completa</translation>
    </message>
    <message>
        <source>InsertDataToSaveInRegistry</source>
        <translation>Insira os novos dados e clique em Alterar para gravar as informações no registro.</translation>
    </message>
    <message>
        <source>InsertNameAndValueToSaveInRegistry</source>
        <translation>Insira o nome do valor de sequência e os dados e clique em Inserir para gravar as informações no registro.</translation>
    </message>
    <message>
        <source>InsertSequenceValueData</source>
        <translation>Insira os dados do valor de sequência.</translation>
    </message>
    <message>
        <source>LoadingPrinterListWait</source>
        <translation>Carregando a lista de impressoras, aguarde...</translation>
    </message>
    <message>
        <source>LocalIdentifier</source>
        <translation>Identificador local</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Não</translation>
    </message>
    <message>
        <source>NoPermissionPrinterProperties</source>
        <translation>Você não tem permissão para alterar as propriedades desta impressora.</translation>
    </message>
    <message>
        <source>OnlyNotifications</source>
        <translation>Somente notificações</translation>
    </message>
    <message>
        <source>PopUpExpirationDescription</source>
        <translation>Tempo, em segundos, após o qual as janelas pop-up do agente se fecham sozinhas.</translation>
    </message>
    <message>
        <source>PoupaTonerName</source>
        <translation>EcoToner</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Impressora</translation>
    </message>
    <message>
        <source>Printers</source>
        <translation>Impressoras</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Propriedades</translation>
    </message>
    <message>
        <source>QuenyxAdminDescription</source>
        <translation>Aplicativo para edição de configurações do Quenyx.</translation>
    </message>
    <message>
        <source>QuenyxAlteredControlConfigs</source>
        <translation>As configurações do Quenyx Agent foram alteradas.</translation>
    </message>
    <message>
        <source>QuenyxRunAsAdminInWin7</source>
        <translation>No Windows 7 ou superior, execute o Quenyx Agent Admin como administrador (clique com o botão direito e escolha Executar como administrador).</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Atualizar</translation>
    </message>
    <message>
        <source>ReleaserAddress</source>
        <translation>Endereço do Quenyx Releaser</translation>
    </message>
    <message>
        <source>ReleaserAddressRequired</source>
        <translation>Informe o endereço do Quenyx Releaser.</translation>
    </message>
    <message>
        <source>RestartQuenyx</source>
        <translation>Deseja reiniciar o Quenyx Agent agora?</translation>
    </message>
    <message>
        <source>SecurePrintChoiceActivation</source>
        <translation>Habilitar a escolha entre imprimir documento na hora ou reter para posterior liberação</translation>
    </message>
    <message>
        <source>SecurePrintRuleDescription</source>
        <translation>Todas as suas impressoras de rede serão habilitadas para utilizar característica de impressão segura, caso deseje desativar a característica para uma impressora específica acesse as propriedades da impressora.</translation>
    </message>
    <message>
        <source>SelectedInstallation</source>
        <translation>Instalação selecionada</translation>
    </message>
    <message>
        <source>Settings02</source>
        <translation>Configurações</translation>
    </message>
    <message>
        <source>StartingQuenyxWait</source>
        <translation>Iniciando o Quenyx Agent, aguarde...</translation>
    </message>
    <message>
        <source>TimeUpdatePerfisDescription</source>
        <translation>Intervalo, em minutos, entre as atualizações dos perfis dos usuários.</translation>
    </message>
    <message>
        <source>ToChange</source>
        <translation>Alterar</translation>
    </message>
    <message>
        <source>ToInsert</source>
        <translation>Inserir</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Ferramentas</translation>
    </message>
    <message>
        <source>Trace</source>
        <translation>Trace</translation>
    </message>
    <message>
        <source>TraceFileNotWritten</source>
        <translation>Não foi possível ler ou gravar estes arquivos de configuração de trace; o nível de trace e o diretório deles não foram alterados:</translation>
    </message>
    <message>
        <source>TracePathRequired</source>
        <translation>Informe o diretório dos arquivos de trace.</translation>
    </message>
    <message>
        <source>USBMonitor</source>
        <translation>Monitoramento USB</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Dados do Valor de Sequência</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versão</translation>
    </message>
    <message>
        <source>WaitRestartingQuenyx</source>
        <translation>Reiniciando os serviços do Quenyx Agent, aguarde...</translation>
    </message>
    <message>
        <source>WarningWatcher</source>
        <translation>Para ativar o trace do Watcher será necessário reiniciar o serviço manualmente.</translation>
    </message>
    <message>
        <source>WorkFolderDescription</source>
        <translation>Pasta onde o agente guarda seus arquivos de trabalho.</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sim</translation>
    </message>
    <message>
        <source>rlsSafePrint</source>
        <translation>Impressão Segura</translation>
    </message>
</context>
</TS>
